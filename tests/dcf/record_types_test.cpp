#include "dcf/record_types.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

TEST(RecordTypeTable, LinesFindTheirTypeByTheirFirstFourCharactersExactly) {
    ASSERT_NE(findRecordType("FLR,1,0,A"), nullptr);
    EXPECT_EQ(findRecordType("FLR,1,0,A")->name, "FLR");
    EXPECT_EQ(findRecordType("NAME,2,0")->fieldCount, 33);
    EXPECT_FALSE(findRecordType("HDR,1,0")->staged);
    EXPECT_EQ(findRecordType("HDR no comma"), nullptr);
    EXPECT_EQ(findRecordType("flr,1,0"), nullptr);
    EXPECT_EQ(findRecordType("FLR"), nullptr);
    EXPECT_EQ(recordTypeNamed("ASSE")->code, "ASSE");
    EXPECT_EQ(recordTypeNamed("ASSET"), nullptr);
}

// A label given to two types would show one type's count as another's.
TEST(RecordTypeTable, EveryCounterAndRowBelongsToOneTypeOnly) {
    std::set<std::string> labels;
    std::set<int> rows;
    for (const RecordType& type : allRecordTypes()) {
        EXPECT_TRUE(type.code == type.name ||
                    std::string(type.code) == std::string(type.name) + ",")
            << type.name;
        for (const char* label : {type.stagedLabel, type.importedLabel}) {
            if (label != nullptr) {
                EXPECT_TRUE(labels.insert(label).second) << label << " counts two types";
            }
        }
        if (type.windowRow != 0) {
            EXPECT_TRUE(rows.insert(type.windowRow).second) << type.name;
            EXPECT_FALSE(type.rowCaption.empty()) << type.name;
        }
    }
    EXPECT_EQ(rows.size(), 12U);
    EXPECT_EQ(*rows.rbegin(), 12);
}

// The facts the renumbering reads: a fact that names a field the type does
// not have, or a staged type without a home, would pass unseen.
TEST(RecordTypeTable, NameFieldsExistAndEveryStagedTypeHasATable) {
    for (const RecordType& type : allRecordTypes()) {
        const int lastField = type.fieldCount + 1;
        EXPECT_TRUE(!type.nameInField7 || lastField >= 7) << type.name;
        for (const int field : type.moreNameFields) {
            EXPECT_TRUE(field == 0 || (field >= 4 && field <= lastField)) << type.name;
        }
        EXPECT_EQ(type.staged, !type.targetTable.empty()) << type.name;
        // A number the database hands out is no report's row.
        EXPECT_TRUE(!type.databaseNumbered || type.reportLink == ReportLink::None) << type.name;
    }
}

} // namespace
} // namespace dcf::test

#include "dcf/record_types.h"
#include "test_database.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

struct FilingTable {
    const char* name;
    std::vector<const char*> columns;
};

const std::vector<FilingTable>& filingTables() {
    static const std::vector<FilingTable> tables = {
#include "filing_columns.inc"
    };
    return tables;
}

using SchemaTest = DatabaseTest;

// A column the conversion needs but the schema lacks must fail here, never
// in a user's run.
TEST_P(SchemaTest, HasEveryTableAndColumnTheConversionUses) {
    for (const auto& table : filingTables()) {
        for (const char* column : table.columns) {
            const std::string sql =
                std::string("select ") + column + " from " + table.name + " where 1 = 0";
            EXPECT_NO_THROW({
                auto statement = connection().prepare(sql);
                statement->execute();
                EXPECT_FALSE(statement->next());
            }) << table.name
               << "." << column;
        }
    }
}

// The table a record type's rows are converted into is the schema's.
TEST_P(SchemaTest, EveryRecordTypesTargetTableExists) {
    for (const RecordType& type : allRecordTypes()) {
        if (type.targetTable.empty()) {
            continue;
        }
        EXPECT_NO_THROW({
            auto statement = connection().prepare("select * from " + std::string(type.targetTable) +
                                                  " where 1 = 0");
            statement->execute();
        }) << type.name;
    }
}

TEST_P(SchemaTest, StagingTableHasItsKeyAndEveryFieldColumn) {
    std::string columns = "import_key, filer_id, rec_type, rec_num, repno, Status, Memo";
    for (int n = 4; n <= 46; ++n) {
        columns += ", field" + std::to_string(n);
    }
    auto statement = connection().prepare("select " + columns + " from IMPORTTEMP where 1 = 0");
    EXPECT_NO_THROW(statement->execute());
    EXPECT_EQ(statement->columnCount(), 7 + 43);
}

TEST_P(SchemaTest, IdentifierCountersStartAfterTheReservedNameId) {
    auto& read = connection().statement("select NameID, repno from repno");
    read.execute();
    ASSERT_TRUE(read.next());
    EXPECT_EQ(read.integer("nameid"), 2);
    EXPECT_EQ(read.integer("REPNO"), 1);
    EXPECT_FALSE(read.next());
}

DCF_ON_ALL_DATABASES(SchemaTest);

} // namespace
} // namespace dcf::test

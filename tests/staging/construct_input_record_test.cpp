#include "staging/construct_input_record.h"

#include "staging/import_temp.h"
#include "test_database.h"

#include <string>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

class ConstructInputRecordTest : public DatabaseTest {
protected:
    std::string inputRecordOf(const std::string& recType) {
        staging::ImportTemp importTemp(connection());
        const db::KeySnapshot keys = importTemp.keysOf({findRecordType(recType)}, nullptr);
        staging::StagedRow row;
        EXPECT_TRUE(!keys.empty() && importTemp.read(*keys.begin(), row));
        return staging::ConstructInputRecord(row);
    }
};

TEST_P(ConstructInputRecordTest, ListsFieldsInLineOrderWithEmptyAndNullAsNothing) {
    connection()
        .statement("insert into IMPORTTEMP (rec_type, rec_num, repno, Status, field4, field5, "
                   "field9, field10, field46, Memo) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .run("EXPN", "7", "2", "I", "a", "", "nine", "ten", "z", "memo");
    // field6-8 and field11-45 are null; Status and Memo are not part of the record.
    EXPECT_EQ(inputRecordOf("EXPN"), "EXPN,7,2,a,,,,,nine,ten," + std::string(35, ',') + "z");
}

TEST_P(ConstructInputRecordTest, FilerRowStartsWithTwoCommas) {
    connection()
        .statement("insert into IMPORTTEMP (rec_type, rec_num) values (?, ?)")
        .run("FLR,", "123");
    EXPECT_EQ(inputRecordOf("FLR,"), "FLR,,123," + std::string(43, ','));
}

DCF_ON_ALL_DATABASES(ConstructInputRecordTest);

} // namespace
} // namespace dcf::test

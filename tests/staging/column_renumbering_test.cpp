#include "staging/column_renumbering.h"

#include "test_database.h"

#include <map>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

const staging::ColumnMove kField7{
    "update IMPORTTEMP set field7 = ? where field7 = ? and rec_type = 'RCPT'",
    "select import_key from IMPORTTEMP where field7 = ? and rec_type = 'RCPT' order by import_key",
    "update IMPORTTEMP set field7 = ? where import_key = ?",
    "",
    {},
};

// One staged row per value, and a row of another type that must not move.
class ColumnRenumberingTest : public DatabaseTest {
protected:
    void stage(const std::vector<std::string>& values) {
        auto& insert = connection().statement(
            "insert into IMPORTTEMP (rec_type, Status, field7) values (?, 'I', ?)");
        for (const std::string& value : values) {
            insert.run("RCPT", value);
        }
        insert.run("SMRY", "1");
    }

    std::vector<std::string> field7() {
        auto select = connection().prepare(
            "select field7 from IMPORTTEMP where rec_type = 'RCPT' order by import_key");
        select->execute();
        std::vector<std::string> values;
        while (select->next()) {
            values.push_back(select->text("field7"));
        }
        return values;
    }

    // Applies the pairs and checks that every row holds the new number of
    // the number it held, or its own when none is given.
    void expectRenumbered(const std::vector<std::string>& values,
                          const std::vector<std::pair<std::string, std::string>>& pairs) {
        connection().statement("delete from IMPORTTEMP").execute();
        stage(values);
        staging::Renumbering renumbering;
        std::map<std::string, std::string> meant;
        for (const auto& [from, to] : pairs) {
            renumbering.add(from, to);
            meant.emplace(from, to);
        }
        std::int64_t moved = 0;
        renumbering.apply(connection(), kField7,
                          [&](const std::string&, std::int64_t rows) { moved += rows; });
        std::vector<std::string> expected;
        std::int64_t rewritten = 0;
        for (const std::string& value : values) {
            const auto found = meant.find(value);
            expected.push_back(found == meant.end() ? value : found->second);
            // A number that stays leaves its rows alone.
            rewritten += found == meant.end() || found->second == value ? 0 : 1;
        }
        EXPECT_EQ(field7(), expected);
        EXPECT_EQ(moved, rewritten);
        auto other = connection().prepare(
            "select count(*) as n from IMPORTTEMP where rec_type = 'SMRY' and field7 = '1'");
        other->execute();
        other->next();
        EXPECT_EQ(other->integer("n"), 1);
    }
};

TEST_P(ColumnRenumberingTest, EveryRowMovesOnceHoweverNewAndOldNumbersOverlap) {
    const std::vector<std::string> rows = {"1", "2", "3", "2", "9", "3", "1"};
    // Ids counted from 2 over file numbers 1, 2, 3: a chain.
    expectRenumbered(rows, {{"1", "2"}, {"2", "3"}, {"3", "4"}});
    // File numbers in falling order: a ring of two, and one standing still.
    expectRenumbered(rows, {{"3", "2"}, {"2", "3"}, {"1", "1"}});
    // A chain of four, the last new number unlike any in the file.
    expectRenumbered(rows, {{"9", "1"}, {"1", "2"}, {"2", "3"}, {"3", "1x"}});
    expectRenumbered(rows, {{"1", "2"}, {"2", "3"}, {"3", "1"}});
    // A number given twice follows its first pair.
    expectRenumbered(rows, {{"2", "5"}, {"2", "6"}});
}

DCF_ON_ALL_DATABASES(ColumnRenumberingTest);

} // namespace
} // namespace dcf::test

#include "db/key_snapshot.h"

#include "db/cursor.h"
#include "test_database.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using KeySnapshotTest = DatabaseTest;

TEST_P(KeySnapshotTest, WalksInStagingOrderWhileItsRowsAreUpdated) {
    auto& c = connection();
    auto& insert = c.statement(
        "insert into IMPORTTEMP (rec_type, rec_num, repno, Status) values (?, ?, ?, ?)");
    // Staged out of their record-number order, and mixed with other types.
    const std::vector<std::string> recNums = {"30", "10", "20", "5", "40"};
    for (const auto& n : recNums) {
        insert.run("RCPT", n, "1", "I");
        insert.run("EXPN", n, "1", "I");
    }
    db::KeySnapshot keys(
        c,
        "select import_key from IMPORTTEMP where rec_type = ? and status = ? order by import_key",
        "RCPT", "I");
    ASSERT_EQ(keys.size(), recNums.size());

    std::vector<std::string> seen;
    auto& read = c.statement("select * from IMPORTTEMP where import_key = ?");
    auto& update = c.statement("update IMPORTTEMP set Status = ?, repno = ? where import_key = ?");
    for (const std::int64_t key : keys) {
        read.run(key);
        ASSERT_TRUE(read.next());
        seen.push_back(read.text("rec_num"));
        read.reset();
        // Updating the row takes it out of the selection; the walk goes on.
        update.run("E", "9", key);
        EXPECT_EQ(update.rowsAffected(), 1);
    }
    EXPECT_EQ(seen, recNums);

    auto& left =
        c.statement("select count(*) as n from IMPORTTEMP where rec_type = ? and status = ?");
    left.run("RCPT", "I");
    ASSERT_TRUE(left.next());
    EXPECT_EQ(left.integer("n"), 0);
}

// Keys kept as steps from the one before come back as they were selected,
// however far apart and in whichever direction.
TEST_P(KeySnapshotTest, KeysComeBackExactlyInTheSelectionsOrder) {
    auto& c = connection();
    c.executeScript("create table scratch_keys (k bigint)");
    const std::vector<std::int64_t> keys = {
        1, 2, 127, 128, 16384, -70, 999, 1LL << 40, (1LL << 62) + 3, 0};
    for (const std::int64_t key : keys) {
        c.statement("insert into scratch_keys (k) values (?)").run(key);
    }
    for (const char* order : {"k", "k desc"}) {
        const db::KeySnapshot snapshot(c,
                                       std::string("select k from scratch_keys order by ") + order);
        std::vector<std::int64_t> expected = keys;
        std::sort(expected.begin(), expected.end());
        if (std::string(order) == "k desc") {
            std::reverse(expected.begin(), expected.end());
        }
        EXPECT_EQ(std::vector<std::int64_t>(snapshot.begin(), snapshot.end()), expected);
        EXPECT_EQ(snapshot.size(), keys.size());
    }
    c.executeScript("drop table scratch_keys");
}

// A reading that ends in an exception still closes its cursor: an open one
// holds SQLite's table lock, and the table could not be dropped.
TEST_P(KeySnapshotTest, ACursorClosesHoweverItsReadingEnds) {
    auto& c = connection();
    c.executeScript("create table scratch_rows (n integer)");
    c.statement("insert into scratch_rows (n) values (?)").run(std::int64_t{1});
    c.statement("insert into scratch_rows (n) values (?)").run(std::int64_t{2});
    EXPECT_THROW(
        {
            db::Cursor rows(c, "select n from scratch_rows order by n");
            ASSERT_TRUE(rows.next());
            throw std::runtime_error("a row could not be converted");
        },
        std::runtime_error);
    EXPECT_EQ(db::firstInteger(c, "select n from scratch_rows where n > ?", std::int64_t{1}), 2);
    EXPECT_FALSE(db::rowExists(c, "select n from scratch_rows where n > ?", std::int64_t{2}));
    EXPECT_NO_THROW(c.executeScript("drop table scratch_rows"));
}

DCF_ON_ALL_DATABASES(KeySnapshotTest);

} // namespace
} // namespace dcf::test

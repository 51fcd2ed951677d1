#include "db/connection.h"
#include "db/error.h"
#include "test_database.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using TransactionTest = DatabaseTest;

std::int64_t stagedRows(db::Connection& c) {
    auto& count = c.statement("select count(*) as n from IMPORTTEMP");
    count.execute();
    EXPECT_TRUE(count.next());
    const auto n = count.integer("n");
    count.reset();
    return n;
}

void stage(db::Connection& c, const std::string& recNum) {
    c.statement("insert into IMPORTTEMP (rec_type, rec_num, Status) values (?, ?, ?)")
        .run("RCPT", recNum, "I");
}

TEST_P(TransactionTest, RollbackLeavesNothingAndCommitKeepsEverything) {
    auto& c = connection();
    c.begin();
    stage(c, "1");
    stage(c, "2");
    EXPECT_EQ(stagedRows(c), 2);
    c.rollback();
    EXPECT_EQ(stagedRows(c), 0);

    c.begin();
    stage(c, "3");
    stage(c, "4");
    c.commit();
    // A second connection sees what was committed.
    auto other = database().connect();
    EXPECT_EQ(stagedRows(*other), 2);
}

TEST_P(TransactionTest, GuardLeavingScopeUncommittedRollsBack) {
    auto& c = connection();
    try {
        db::Transaction run(c);
        stage(c, "1");
        throw std::runtime_error("the run failed half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(c.inTransaction());
    EXPECT_EQ(stagedRows(c), 0);
    {
        db::Transaction run(c);
        stage(c, "2");
        run.commit();
    }
    EXPECT_EQ(stagedRows(c), 1);
}

// A row the database refuses is logged and the run goes on: the refusal
// must not spoil the rest of the run's transaction on any backend.
TEST_P(TransactionTest, RefusedStatementLeavesTheTransactionUsable) {
    auto& c = connection();
    db::Transaction run(c);
    stage(c, "1");
    EXPECT_THROW(c.statement("update repno set repno = ?").run(db::Null{}), db::DbError);
    stage(c, "2");
    run.commit();
    EXPECT_EQ(stagedRows(c), 2);
}

TEST_P(TransactionTest, RunLockMakesASecondRunWaitThenFailClearly) {
    auto& first = connection();
    db::Transaction run(first);
    first.acquireRunLock(std::chrono::seconds(5));

    auto second = database().connect();
    second->begin();
    const auto started = std::chrono::steady_clock::now();
    try {
        second->acquireRunLock(std::chrono::milliseconds(700));
        FAIL() << "the second run got the lock while the first held it";
    } catch (const db::RunLockBusy& busy) {
        EXPECT_STREQ(
            busy.what(),
            "Another conversion is running on this database. Try again when it has finished.");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500))
        << "it did not wait";
    second->rollback();

    // Once the first run ends, the lock is free again.
    run.rollback();
    second->begin();
    EXPECT_NO_THROW(second->acquireRunLock(std::chrono::seconds(5)));
    second->rollback();
}

DCF_ON_ALL_DATABASES(TransactionTest);

} // namespace
} // namespace dcf::test

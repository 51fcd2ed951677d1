// A run whose transaction the database ends by itself (SQLite after a full
// disk; a server that aborts the transaction, or a driver that rolls it back)
// fails at once and leaves the database as it was: nothing is written
// outside the run's transaction.
#include "run_fixture.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

const std::string kStart = kHeader + kFiler + kName;

// `count` memo lines of about 250 characters each.
std::string memoLines(int from, int count) {
    std::ostringstream lines;
    for (int n = from; n < from + count; ++n) {
        lines << "TEXT," << n << ",1,A,B,C,\"" << std::string(240, static_cast<char>('a' + n % 26))
              << "\"\r\n";
    }
    return lines.str();
}

std::int64_t countOccurrences(const std::string& text, const std::string& part) {
    std::int64_t found = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

class TransactionLostTest : public RunTest {
protected:
    // Fails the run with one block naming `problem`, and leaves everything
    // as it was.
    void expectFailedWithOneBlock(const app::RunResult& result, const std::string& problem,
                                  db::Connection& reader,
                                  const std::map<std::string, std::vector<std::string>>& before) {
        EXPECT_EQ(result.outcome, app::RunOutcome::Failed);
        const std::string log = finalLog(result);
        EXPECT_EQ(countOccurrences(log, "**** Error with file: "), 1) << log.substr(0, 3000);
        EXPECT_NE(log.find("---- (Procedure DCFImport)"), std::string::npos);
        EXPECT_NE(log.find(problem), std::string::npos) << log.substr(0, 3000);
        EXPECT_EQ(view_.questions.size(), 1U) << "no closing question";
        EXPECT_EQ(contents(reader), before) << "rows were kept outside the run's transaction";
    }
};

// A size limit is SQLite's; a server's own case is the next test.
using DatabaseFullTest = TransactionLostTest;

TEST_P(DatabaseFullTest, AFullDatabaseEndsTheRunAndKeepsNothing) {
    const auto before = contents();
    auto& pages = connection().statement("PRAGMA page_count");
    pages.execute();
    ASSERT_TRUE(pages.next());
    const std::int64_t used = pages.integer(pages.columnName(0));
    pages.reset();
    // Room for a few hundred staged lines, not for two thousand.
    connection().executeScript("PRAGMA max_page_count = " + std::to_string(used + 40));
    writeDcf("full.DCF_ZV", kStart + memoLines(3, 2000));
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    expectFailedWithOneBlock(run(), "database or disk is full", connection(), before);

    // The connection is sound again: with room, the same file converts.
    connection().executeScript("PRAGMA max_page_count = 1073741823");
    view_ = RecordingView();
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveClean, {yes()});
    EXPECT_EQ(run().outcome, app::RunOutcome::Saved);
    EXPECT_EQ(count("select count(*) from IMPORTTEMP where rec_type = 'TEXT'"), 2000);
}

// A report number PostgreSQL cannot index: too long, and not compressible.
std::string unindexableReportNumber() {
    std::string text;
    std::uint32_t state = 12345;
    for (int i = 0; i < 3000; ++i) {
        state = state * 1103515245U + 12345U;
        text += static_cast<char>('!' + (state >> 16) % 90);
    }
    std::replace(text.begin(), text.end(), ',', '.');
    std::replace(text.begin(), text.end(), '"', '.');
    return text;
}

using ServerAbortTest = TransactionLostTest;

TEST_P(ServerAbortTest, ATransactionTheServerEndsEndsTheRunAndKeepsNothing) {
    const auto before = contents();
    const std::string file = kStart + memoLines(3, 20) + "TEXT,30," + unindexableReportNumber() +
                             ",A,B,C,\"refused\"\r\n" + memoLines(31, 20);
    // Level of rollback on errors: 0 leaves the server's aborted transaction
    // as it is, 1 has the driver roll it back, after which later statements
    // would run in a transaction of their own.
    for (const char* protocol : {"Protocol=7.4-0;", "Protocol=7.4-1;"}) {
        auto runConnection = db::Connection::open(database().target() + protocol);
        view_ = RecordingView();
        writeDcf("aborted.DCF_ZV", file);
        view_.answer(run::QuestionKind::ConfirmRun, {yes()});
        const auto result = app::runConversion(request_, *runConnection, view_, cancelRequested_);
        expectFailedWithOneBlock(result, "index row", connection(), before);
    }

    // With the driver's default, the refused line is one record's problem.
    view_ = RecordingView();
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveNotImported, {yes()});
    EXPECT_EQ(run().outcome, app::RunOutcome::Saved);
    EXPECT_EQ(count("select count(*) from IMPORTTEMP where rec_type = 'TEXT'"), 40);
}

DCF_ON_SQLITE_DATABASES(DatabaseFullTest);
DCF_ON_DATABASE_SERVER(ServerAbortTest);

} // namespace
} // namespace dcf::test

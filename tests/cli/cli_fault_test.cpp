// The batch front end under faults from outside: a database it may not
// write, held by another writer or lost mid-run; a logs folder taken away;
// a closed standard output; signals while it waits. Each run ends with a
// message and its exit status, and the database keeps nothing of it.
#include "front_end_process.h"
#include "test_database.h"

#include <chrono>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>
#include <signal.h>

namespace dcf::test {
namespace {

namespace fs = std::filesystem;

constexpr int kFailed = 3;

// A file of `count` memo lines after the filer `filerId`: long enough that
// the run is still at work when the test steps in.
fs::path writeMemoFile(const fs::path& folder, const std::string& filerId, int count) {
    const fs::path path = folder / (filerId + ".DCF_ZV");
    std::ofstream file(path, std::ios::binary);
    file << "HDR,1,0,DCF,1.0,20261208,\r\nFLR,1,0,A,B,COH," << filerId << ",X,Y,2\r\n";
    for (int n = 0; n < count; ++n) {
        file << "TEXT," << n << ",1,A,B,C,\"memo " << n << "\"\r\n";
    }
    return path;
}

void openToEveryone(const fs::path& path) {
    fs::permissions(path, fs::perms::all);
}

class CliFaultTest : public DatabaseTest {
protected:
    std::vector<std::string> args(const fs::path& file, std::vector<std::string> more = {}) {
        std::vector<std::string> all = targetArgs(database());
        all.insert(all.end(), {"--logs", logs_.path().string(), "-q"});
        all.insert(all.end(), more.begin(), more.end());
        all.push_back(file.string());
        return all;
    }

    // The one log of a run that ended, read through its "log: " line.
    std::string finalLog(const Process& run) {
        const auto at = run.out.find("log: ");
        if (at == std::string::npos) {
            return "";
        }
        return readFile(run.out.substr(at + 5, run.out.find('\n', at) - at - 5));
    }

    void expectFailedKeepingNothing(const Process& run, const std::string& reason,
                                    const std::map<std::string, std::vector<std::string>>& before) {
        EXPECT_EQ(run.status, kFailed) << run.out << run.err;
        EXPECT_NE(run.out.find("message: "), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(reason), std::string::npos) << run.out;
        EXPECT_TRUE(run.out.ends_with("outcome: failed\n")) << run.out;
        EXPECT_EQ(tableContents(*database().connect()), before);
    }

    TempFolder files_;
    TempFolder logs_;
};

using CliWaitTest = CliFaultTest;

TEST_P(CliWaitTest, ASignalDuringTheRunLockWaitCancelsAtOnce) {
    const auto before = tableContents(connection());
    const fs::path file = writeMemoFile(files_.path(), "F100", 10);
    connection().begin();
    ASSERT_TRUE(connection().acquireRunLock(std::chrono::seconds(5)));
    const auto started = std::chrono::steady_clock::now();
    const Process run =
        runFrontEnd(args(file), files_.path(), {.whileRunning = [&](pid_t pid) {
                        // The filer line comes just before the lock is asked.
                        ASSERT_TRUE(waitForText(outputFile(files_.path()), "filer: ", pid));
                        std::this_thread::sleep_for(std::chrono::milliseconds(300));
                        ::kill(pid, SIGTERM);
                    }});
    const auto waited = std::chrono::steady_clock::now() - started;
    connection().rollback();
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(run.out.ends_with("outcome: cancelled\n")) << run.out;
    EXPECT_NE(finalLog(run).find("Conversion canceled by user. No files imported."),
              std::string::npos);
    // Not a timing test: the wait is 30 seconds, and ending after it would be
    // the old fault.
    EXPECT_LT(waited, std::chrono::seconds(25));
    EXPECT_EQ(tableContents(connection()), before);
}

TEST_P(CliWaitTest, TwoRunsSharingALogsFolderEachKeepTheirWholeLog) {
    TestDatabase other(GetParam());
    // Long enough to still run when the second starts, short enough to end
    // within the second's wait.
    const int lines = GetParam() == Target::NativeSqlite ? 100000 : 5000;
    const fs::path first = writeMemoFile(files_.path(), "F101", lines);
    const fs::path second = writeMemoFile(files_.path(), "F102", 7);
    TempFolder secondOutput;
    Process later;
    const Process earlier =
        runFrontEnd(args(first), files_.path(), {.whileRunning = [&](pid_t pid) {
                        ASSERT_TRUE(waitForText(outputFile(files_.path()), "filer: ", pid));
                        std::vector<std::string> otherArgs = targetArgs(other);
                        otherArgs.insert(otherArgs.end(),
                                         {"--logs", logs_.path().string(), "-q", second.string()});
                        later = runFrontEnd(otherArgs, secondOutput.path());
                    }});
    ASSERT_EQ(earlier.status, 0) << earlier.out << earlier.err;
    ASSERT_EQ(later.status, 0) << later.out << later.err;
    const std::string earlierLog = finalLog(earlier);
    const std::string laterLog = finalLog(later);
    for (const auto& [log, processed] :
         {std::pair{earlierLog, "Processed 1 "}, std::pair{laterLog, "Processed 1 "}}) {
        EXPECT_EQ(log.rfind("Conversion Start Time   ----  ", 0), 0U) << log.substr(0, 500);
        EXPECT_EQ(log.find("Conversion Start Time", 1), std::string::npos) << "one run per log";
        EXPECT_NE(log.find(processed), std::string::npos);
        EXPECT_NE(log.find("Conversion finish time  ----  "), std::string::npos);
    }
    EXPECT_NE(earlierLog.find("         " + std::to_string(lines) + " "), std::string::npos)
        << earlierLog.substr(0, 2000);
    EXPECT_NE(laterLog.find("         7 "), std::string::npos) << laterLog.substr(0, 2000);
}

DCF_ON_ALL_DATABASES(CliWaitTest);

using CliOutputTest = CliFaultTest;

TEST_P(CliOutputTest, AClosedStandardOutputStillEndsTheRunAndSaysSo) {
    const fs::path file = writeMemoFile(files_.path(), "F103", 50);
    const Process run =
        runFrontEnd(args(file), files_.path(), {.closedOutput = true, .whileRunning = {}});
    EXPECT_EQ(run.signal, 0) << "killed by a signal";
    EXPECT_EQ(run.status, kFailed);
    EXPECT_NE(run.err.find("standard output could not be written"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("would have been 0"), std::string::npos) << run.err;
    // The save it was told to make was made.
    EXPECT_EQ(selectRows(connection(), "select count(*) from IMPORTTEMP where rec_type = 'TEXT'"),
              std::vector<std::string>{"50"});
}

DCF_ON_SQLITE_DATABASES(CliOutputTest);

using CliDatabaseFaultTest = CliFaultTest;

TEST_P(CliDatabaseFaultTest, ADatabaseFileThatCannotBeWrittenFailsTheRun) {
    const auto before = tableContents(connection());
    openToEveryone(logs_.path());
    openToEveryone(files_.path());
    fs::permissions(database().folder(), fs::perms::owner_all | fs::perms::group_read |
                                             fs::perms::group_exec | fs::perms::others_read |
                                             fs::perms::others_exec);
    fs::permissions(database().sqliteFile(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const fs::path file = writeMemoFile(files_.path(), "F104", 10);
    openToEveryone(file);
    const Process run =
        runFrontEnd(args(file), files_.path(), {.unprivileged = true, .whileRunning = {}});
    fs::permissions(database().sqliteFile(), fs::perms::owner_read | fs::perms::owner_write);
    expectFailedKeepingNothing(run, "attempt to write a readonly database", before);
    EXPECT_NE(finalLog(run).find("---- (Procedure DCFImport)"), std::string::npos);
}

TEST_P(CliDatabaseFaultTest, ADatabaseAnotherWriterHoldsFailsAfterTheWait) {
    const auto before = tableContents(connection());
    const fs::path file = writeMemoFile(files_.path(), "F107", 10);
    connection().begin();
    connection().executeScript("update repno set repno = repno");
    const Process run = runFrontEnd(args(file), files_.path());
    connection().rollback();
    expectFailedKeepingNothing(run, "Another conversion is running on this database.", before);
    EXPECT_NE(finalLog(run).find("---- (Procedure DCFImport)"), std::string::npos);
}

DCF_ON_SQLITE_DATABASES(CliDatabaseFaultTest);

// The log's faults are the same whatever the database: tried on one.
using CliLogFaultTest = CliFaultTest;

TEST_P(CliLogFaultTest, ALogsFolderRemovedMidRunFailsTheRunNamingIt) {
    const auto before = tableContents(connection());
    const fs::path file = writeMemoFile(files_.path(), "F105", 200000);
    const Process run =
        runFrontEnd(args(file), files_.path(), {.whileRunning = [&](pid_t pid) {
                        ASSERT_TRUE(waitForText(outputFile(files_.path()), "filer: ", pid));
                        std::this_thread::sleep_for(std::chrono::milliseconds(200));
                        fs::remove_all(logs_.path());
                    }});
    expectFailedKeepingNothing(run, logs_.path().string(), before);
}

TEST_P(CliLogFaultTest, ALogsFolderMadeReadOnlyMidRunFailsTheRunNamingIt) {
    const auto before = tableContents(connection());
    openToEveryone(logs_.path());
    openToEveryone(files_.path());
    openToEveryone(database().folder());
    openToEveryone(database().sqliteFile());
    const fs::path file = writeMemoFile(files_.path(), "F106", 200000);
    openToEveryone(file);
    const Process run = runFrontEnd(
        args(file), files_.path(),
        {.unprivileged = true, .whileRunning = [&](pid_t pid) {
             ASSERT_TRUE(waitForText(outputFile(files_.path()), "filer: ", pid));
             std::this_thread::sleep_for(std::chrono::milliseconds(200));
             fs::permissions(logs_.path(), fs::perms::owner_all | fs::perms::group_read |
                                               fs::perms::group_exec | fs::perms::others_read |
                                               fs::perms::others_exec);
         }});
    expectFailedKeepingNothing(run, logs_.path().string(), before);
}

INSTANTIATE_TEST_SUITE_P(NativeSqlite, CliLogFaultTest, ::testing::Values(Target::NativeSqlite),
                         TargetNamer{});

using CliServerFaultTest = CliFaultTest;

// A server shut down ends every session as this does. A trigger that sleeps
// holds the run at its transfer of rows to the server, so that its session
// ends in the middle of the run however fast the conversion before it was.
TEST_P(CliServerFaultTest, AServerThatEndsTheSessionMidRunFailsAndKeepsNothing) {
    connection().executeScript("create function hold_rows() returns trigger language plpgsql as "
                               "$$ begin perform pg_sleep(600); return null; end $$;\n"
                               "create trigger hold_rows before insert on IMPORTTEMP "
                               "for each statement execute function hold_rows()");
    const auto before = tableContents(connection());
    const fs::path file = writeMemoFile(files_.path(), "F108", 20000);
    const Process run = runFrontEnd(
        args(file, {"--similar-names", "new"}), files_.path(), {.whileRunning = [&](pid_t) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
            while (selectRows(connection(), "select pid from pg_stat_activity where wait_event "
                                            "= 'PgSleep' and datname = current_database()")
                       .empty()) {
                ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no transfer began";
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            connection().executeScript("select pg_terminate_backend(pid) from "
                                       "pg_stat_activity where datname = current_database() "
                                       "and pid <> pg_backend_pid()");
        }});
    expectFailedKeepingNothing(run, "", before);
    EXPECT_NE(finalLog(run).find("---- Error Description: "), std::string::npos);
}

DCF_ON_DATABASE_SERVER(CliServerFaultTest);

} // namespace
} // namespace dcf::test

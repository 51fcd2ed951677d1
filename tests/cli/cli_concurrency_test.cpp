// Conversions beside each other: two runs on one database take turns at the
// run lock and share nothing, and a program reading the filing tables
// neither stops a run nor sees half of one.
#include "front_end_process.h"
#include "test_database.h"

#include <fstream>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

namespace fs = std::filesystem;

class CliConcurrencyTest : public DatabaseTest {
protected:
    Process convert(const fs::path& file, const fs::path& output,
                    const std::function<void(pid_t)>& whileRunning = {}) {
        std::vector<std::string> args = targetArgs(database());
        args.insert(args.end(), {"--logs", logs_.path().string(), "-q", "--duplicate-filer",
                                 "continue", file.string()});
        return runFrontEnd(args, output, {.whileRunning = whileRunning});
    }

    std::int64_t count(const std::string& sql) {
        return std::stoll(selectRows(connection(), sql).at(0));
    }

    TempFolder logs_;
};

using ServerConcurrencyTest = CliConcurrencyTest;

TEST_P(ServerConcurrencyTest, TwoRunsOnOneDatabaseTakeTurnsAndShareNothing) {
    TempFolder files;
    TempFolder firstOutput;
    TempFolder secondOutput;
    // The first file's memo lines keep its run busy while the second starts.
    const fs::path first = files.path() / "first.DCF_ZV";
    fs::copy_file(DCF_SAMPLES_DIR "/schedules.DCF_ZV", first);
    {
        std::ofstream memos(first, std::ios::binary | std::ios::app);
        for (int n = 0; n < 2000; ++n) {
            memos << "TEXT," << 1000 + n << ",1,A,B,C,\"memo " << n << "\"\r\n";
        }
    }
    Process second;
    const Process earlier = convert(first, firstOutput.path(), [&](pid_t pid) {
        ASSERT_TRUE(waitForText(outputFile(firstOutput.path()), "filer: ", pid));
        second = convert(DCF_SAMPLES_DIR "/two-reports.DCF_ZV", secondOutput.path());
    });
    ASSERT_EQ(earlier.status, 0) << earlier.out << earlier.err;
    ASSERT_EQ(second.status, 0) << second.out << second.err;

    EXPECT_EQ(selectRows(connection(), "select filer_id from FILERS order by filer_id"),
              (std::vector<std::string>{"F200100", "F300200"}));
    EXPECT_EQ(count("select count(*) from (select name_id from names group by name_id "
                    "having count(*) > 1) shared"),
              0);
    EXPECT_EQ(count("select count(*) from (select repno from cvr group by repno "
                    "having count(*) > 1) shared"),
              0);
    EXPECT_EQ(count("select count(distinct repno) from cvr"), count("select count(*) from cvr"));
    // Each report's rows name its own filer's names only.
    EXPECT_EQ(count("select count(*) from RCPT r join names n on n.name_id = r.ctrib_id "
                    "where n.filer_id <> r.filer_id"),
              0);
    // The counter is past every id the two runs drew.
    EXPECT_GT(count("select NameID from repno"), count("select max(name_id) from names"));
}

TEST_P(ServerConcurrencyTest, AReaderOfTheFilingTablesNeitherStopsARunNorSeesHalfOfIt) {
    TempFolder output;
    auto reader = database().connect();
    reader->begin();
    ASSERT_EQ(selectRows(*reader, "select count(*) from names"), std::vector<std::string>{"0"});
    std::vector<std::string> seenDuringTheRun;
    const Process run = convert(DCF_SAMPLES_DIR "/schedules.DCF_ZV", output.path(), [&](pid_t pid) {
        ASSERT_TRUE(waitForText(outputFile(output.path()), "filer: ", pid));
        seenDuringTheRun = selectRows(*reader, "select count(*) from names");
    });
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(seenDuringTheRun, std::vector<std::string>{"0"});
    EXPECT_NE(selectRows(*reader, "select count(*) from names"), std::vector<std::string>{"0"})
        << "the saved run is seen once committed";
    reader->rollback();
}

DCF_ON_DATABASE_SERVER(ServerConcurrencyTest);

using SqliteConcurrencyTest = CliConcurrencyTest;

// SQLite saves only when no one else holds the file open for reading: a
// reader that stays longer than the save waits fails the run, which then
// keeps nothing and says why.
TEST_P(SqliteConcurrencyTest, AReaderThatHoldsTheFileThroughTheSaveFailsItCleanly) {
    TempFolder output;
    const auto before = tableContents(connection());
    auto reader = database().connect();
    reader->begin();
    ASSERT_EQ(selectRows(*reader, "select count(*) from names"), std::vector<std::string>{"0"});
    const Process run = convert(DCF_SAMPLES_DIR "/schedules.DCF_ZV", output.path());
    reader->rollback();
    EXPECT_EQ(run.status, 3) << run.out << run.err;
    EXPECT_NE(run.out.find("Another program is using the database file"), std::string::npos)
        << run.out;
    EXPECT_EQ(tableContents(connection()), before);
}

INSTANTIATE_TEST_SUITE_P(NativeSqlite, SqliteConcurrencyTest,
                         ::testing::Values(Target::NativeSqlite), TargetNamer{});

} // namespace
} // namespace dcf::test

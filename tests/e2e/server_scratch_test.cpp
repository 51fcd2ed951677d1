// A run on a server works on IMPORTTEMP in a scratch file of its own and
// writes the rows to the server's IMPORTTEMP when it saves: with the keys a
// row-by-row run would have given them, in a folder only the user can open,
// gone when the run ends.
#include "dcf/control_names.h"
#include "dcf_lines.h"
#include "run_fixture.h"

#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace dcf::test {
namespace {

// Points the system's temporary folder elsewhere for one test.
class TemporaryFolderSetting {
public:
    explicit TemporaryFolderSetting(const std::filesystem::path& folder) {
        if (const char* old = std::getenv("TMPDIR")) {
            old_ = old;
        }
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderSetting() {
        if (old_) {
            ::setenv("TMPDIR", old_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
    TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;

private:
    std::optional<std::string> old_;
};

// 0 when there is no such file.
unsigned permissions(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return 0;
    }
    return status.st_mode & 0777U;
}

std::vector<std::filesystem::path> entries(const std::filesystem::path& folder) {
    return {std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()};
}

const std::string kReport = kHeader + kFiler + kName +
                            nameLine("2", {{7, "Roe"}, {8, "Ann"}, {12, "2 Elm"}}) +
                            formLine("1", "1", "2") + rcptLine("10", "1", "2") +
                            rcptLine("11", "1", "2") + smryLine("12", "1");

using ServerScratchTest = RunTest;

TEST_P(ServerScratchTest, TheRowsAreSavedWithTheServersKeysFromAPrivateScratchFileThatGoes) {
    const TempFolder base;
    // A path that reads like a connection string is still a path.
    const std::filesystem::path temporary = base.path() / "tmp=1;x";
    std::filesystem::create_directories(temporary);
    const TemporaryFolderSetting setting(temporary);
    std::vector<std::filesystem::path> whileRunning;
    unsigned folderMode = 0;
    unsigned fileMode = 0;
    view_.atYieldAfter(control::lblProcessingMessage, "Processing Contribution/Pledge Records",
                       [&] {
                           whileRunning = entries(temporary);
                           if (whileRunning.size() == 1) {
                               folderMode = permissions(whileRunning[0]);
                               fileMode = permissions(whileRunning[0] / "scratch.db");
                           }
                       });
    writeDcf("report.DCF_ZV", kReport);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveClean, {yes()});
    ASSERT_EQ(run().outcome, app::RunOutcome::Saved);

    ASSERT_EQ(whileRunning.size(), 1U);
    EXPECT_EQ(folderMode, 0700U);
    EXPECT_EQ(fileMode, 0600U);
    EXPECT_TRUE(entries(temporary).empty()) << "the scratch file outlived the run";
    // Every staged line, with the marks the run made (the report is refused).
    EXPECT_EQ(count("select count(*) from IMPORTTEMP"), 7);
    EXPECT_EQ(count("select count(*) from IMPORTTEMP where Status = 'E'"), 4);
    const std::int64_t firstEnd = count("select max(import_key) from IMPORTTEMP");

    // A second run's keys follow the first's, and the server's own next key
    // follows the second's: as if every row had been staged on the server.
    view_ = RecordingView();
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::DuplicateFiler, {yes()});
    view_.answer(run::QuestionKind::SaveNotImported, {yes()});
    view_.answer(run::QuestionKind::SaveClean, {yes()});
    ASSERT_EQ(run().outcome, app::RunOutcome::Saved);
    EXPECT_EQ(count("select min(import_key) from IMPORTTEMP"), firstEnd + 1);
    const std::int64_t secondEnd = count("select max(import_key) from IMPORTTEMP");
    EXPECT_EQ(secondEnd, firstEnd + 7);
    connection().statement("insert into IMPORTTEMP (rec_type) values ('HDR,')").execute();
    EXPECT_EQ(count("select max(import_key) from IMPORTTEMP"), secondEnd + 1);
}

TEST_P(ServerScratchTest, AScratchFileThatCannotBeMadeFailsTheRunAndKeepsNothing) {
    const TempFolder temporary;
    const TemporaryFolderSetting setting(temporary.path() / "missing");
    const auto before = contents();
    writeDcf("report.DCF_ZV", kReport);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    EXPECT_EQ(run().outcome, app::RunOutcome::Failed);
    ASSERT_FALSE(view_.messages.empty());
    EXPECT_NE(view_.messages.back().text.find("The conversion could not make its working table: "),
              std::string::npos)
        << view_.messages.back().text;
    EXPECT_EQ(contents(), before);
}

TEST_P(ServerScratchTest, ARunThatDoesNotSaveLeavesTheServersRowsAsTheyWere) {
    const TempFolder temporary;
    const TemporaryFolderSetting setting(temporary.path());
    writeDcf("report.DCF_ZV", kReport);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveClean, {yes()});
    ASSERT_EQ(run().outcome, app::RunOutcome::Saved);
    const auto saved = contents();

    view_ = RecordingView();
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::DuplicateFiler, {yes()});
    view_.answer(run::QuestionKind::SaveNotImported, {run::Answer::No});
    view_.answer(run::QuestionKind::SaveClean, {run::Answer::No});
    EXPECT_EQ(run().outcome, app::RunOutcome::RolledBack);
    EXPECT_EQ(contents(), saved);
    EXPECT_TRUE(entries(temporary.path()).empty());
}

DCF_ON_DATABASE_SERVER(ServerScratchTest);

} // namespace
} // namespace dcf::test

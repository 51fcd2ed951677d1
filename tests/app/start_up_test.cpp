#include "app/start_up.h"

#include "app/program_folders.h"
#include "test_database.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

struct RecordingUi final : app::StartUpUi {
    std::vector<std::string> calls;
    void showAlreadyRunning() override { calls.emplace_back("already running"); }
    void showCannotOpenDatabase(const std::string& text) override {
        calls.push_back("cannot open: " + text);
    }
};

struct FixedLock final : app::InstanceLock {
    bool free = true;
    bool tryLock() override { return free; }
};

TEST(StartUp, SecondCopyOnlyShowsTheMessageAndOpensNothing) {
    FixedLock lock;
    lock.free = false;
    RecordingUi ui;
    run::RunRequest request;
    const auto result = app::startUp(lock, ui, request, "DSN=never_opened", "/nonexistent");
    EXPECT_EQ(result.outcome, app::StartUpResult::Outcome::AlreadyRunning);
    EXPECT_EQ(ui.calls, std::vector<std::string>{"already running"});
    EXPECT_EQ(result.connection, nullptr);
    EXPECT_NE(result.exitStatus(), 0);
}

TEST(StartUp, DataSourceThatCannotBeOpenedStopsWithTheDriversText) {
    odbcConfigFolder();
    FixedLock lock;
    RecordingUi ui;
    run::RunRequest request;
    TempFolder program;
    const auto result = app::startUp(lock, ui, request, "DSN=dcf_missing_source", program.path());
    EXPECT_EQ(result.outcome, app::StartUpResult::Outcome::DatabaseUnavailable);
    EXPECT_NE(result.exitStatus(), 0);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_NE(ui.calls[0].find("DSN=dcf_missing_source"), std::string::npos) << ui.calls[0];
    // unixODBC's own words for a data source it does not know.
    EXPECT_NE(ui.calls[0].find("not found"), std::string::npos) << ui.calls[0];
}

TEST(StartUp, OpensTheSharedConnectionAndTheLogsFolderBesideTheProgram) {
    TestDatabase database(Target::NativeSqlite);
    addDataSource("dcf_startup_check", "SQLite3", database.sqliteFile().string());
    TempFolder program;
    std::filesystem::create_directory(program.path() / "logs");
    FixedLock lock;
    RecordingUi ui;
    run::RunRequest request;
    const auto result = app::startUp(lock, ui, request, "DSN=dcf_startup_check", program.path());
    EXPECT_EQ(result.outcome, app::StartUpResult::Outcome::Started);
    ASSERT_NE(result.connection, nullptr);
    EXPECT_EQ(result.connection->backendName(), "SQLite");
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(request.logsFolder, program.path() / "logs");
}

TEST(ProgramFolders, LogsFolderFallsBackToThePrivateStateFolder) {
    TempFolder program;
    TempFolder state;
    ::setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    const auto logs = app::chooseLogsFolder(program.path());
    ::unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(logs, state.path() / "dcfconvert" / "logs");
    ASSERT_TRUE(std::filesystem::is_directory(logs));
    EXPECT_EQ(std::filesystem::status(logs).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_NO_THROW(app::checkLogsFolderWritable(logs));
    try {
        app::checkLogsFolderWritable(program.path() / "missing");
        FAIL() << "a missing logs folder was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find((program.path() / "missing").string()),
                  std::string::npos);
    }
}

} // namespace
} // namespace dcf::test

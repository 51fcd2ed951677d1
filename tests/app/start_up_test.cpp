#include "app/start_up.h"

#include "app/program_folders.h"
#include "test_database.h"

#include <cstdlib>
#include <utility>
#include <vector>

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

// A file of `mode` at `file`, its folders made first.
void placeFile(const std::filesystem::path& file, std::filesystem::perms mode) {
    std::filesystem::create_directories(file.parent_path());
    writeFile(file, "#!/bin/sh\n");
    std::filesystem::permissions(file, mode);
}

TEST(StartUp, TheMissingDataSourceMessageNamesTheSetUpThatExistsWhereTheProgramRuns) {
    using std::filesystem::perms;
    const perms program = perms::owner_all;
    const perms notProgram = perms::owner_read | perms::owner_write;
    struct Case {
        const char* name;
        // Files to place under the case's folder, and their modes.
        std::vector<std::pair<const char*, perms>> files;
        const char* programFolder;
        // The PATH, its folders under the case's folder.
        std::vector<const char*> path;
        // The command expected; "@" stands for the case's folder.
        const char* command;
    };
    const std::vector<Case> cases = {
        {"installed, its folder on the PATH",
         {{"usr/bin/dcfconvert-create-database", program}},
         "usr/bin",
         {"elsewhere", "usr/bin"},
         "dcfconvert-create-database"},
        {"installed in a folder not on the PATH",
         {{"opt/dcf/bin/dcfconvert-create-database", program}},
         "opt/dcf/bin",
         {"usr/bin"},
         "@/opt/dcf/bin/dcfconvert-create-database"},
        {"installed beside, another copy first on the PATH",
         {{"usr/bin/dcfconvert-create-database", program},
          {"local/bin/dcfconvert-create-database", program}},
         "usr/bin",
         {"local/bin", "usr/bin"},
         "@/usr/bin/dcfconvert-create-database"},
        {"a build tree in a checkout",
         {{"src/scripts/create-database", program},
          {"usr/bin/dcfconvert-create-database", program}},
         "src/build/release/src/ui",
         {"usr/bin"},
         "@/src/scripts/create-database"},
        {"a copy elsewhere, the set-up program on the PATH",
         {{"usr/bin/dcfconvert-create-database", program}},
         "portable",
         {"usr/bin"},
         "dcfconvert-create-database"},
        {"files that cannot be run",
         {{"usr/bin/dcfconvert-create-database", notProgram},
          {"usr/scripts/create-database", notProgram}},
         "usr/bin",
         {"usr/bin"},
         ""},
        {"nothing at all", {}, "usr/bin", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder root;
        std::filesystem::create_directories(root.path() / c.programFolder);
        for (const auto& [file, mode] : c.files) {
            placeFile(root.path() / file, mode);
        }
        std::string path;
        for (const char* folder : c.path) {
            path += (path.empty() ? "" : ":") + (root.path() / folder).string();
        }
        std::string expected = c.command;
        if (expected.starts_with('@')) {
            expected = root.path().string() + expected.substr(1);
        }
        const std::string command = app::setUpCommand(root.path() / c.programFolder, path);
        EXPECT_EQ(command, expected);

        const std::string text = app::cannotOpenDatabaseText("DSN=qorvex", "not found", command);
        EXPECT_TRUE(text.starts_with("The filing database could not be opened (DSN=qorvex)."))
            << text;
        const std::string hint = " (" + expected + " sets up the default data source qorvex)";
        EXPECT_EQ(text.find(hint) != std::string::npos, !expected.empty()) << text;
        EXPECT_EQ(text.find("()"), std::string::npos) << text;
    }
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

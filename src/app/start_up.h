#pragma once

#include "db/connection.h"
#include "run/run_request.h"

#include <filesystem>
#include <memory>
#include <string>

namespace dcf::app {

// The data source the program works on.
inline constexpr const char* kDefaultTarget = "DSN=qorvex";

// How start-up talks to the user; the window shows message boxes.
class StartUpUi {
public:
    virtual ~StartUpUi() = default;
    // "Program is already running." titled "Running".
    virtual void showAlreadyRunning() = 0;
    // A critical message: the database could not be opened.
    virtual void showCannotOpenDatabase(const std::string& text) = 0;
};

// The one-running-copy-per-user test.
class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // False when another copy holds it.
    virtual bool tryLock() = 0;
};

struct StartUpResult {
    enum class Outcome { Started, AlreadyRunning, DatabaseUnavailable } outcome = Outcome::Started;
    std::unique_ptr<db::Connection> connection;
    // Exit status for a start that did not get as far as the window.
    [[nodiscard]] int exitStatus() const { return outcome == Outcome::DatabaseUnavailable ? 3 : 1; }
};

// Refuses a second copy, fixes the logs folder of the runs to come, opens
// the shared connection. The caller shows the main window only when the
// outcome is Started.
StartUpResult startUp(InstanceLock& lock, StartUpUi& ui, run::RunRequest& request,
                      const std::string& target, const std::filesystem::path& programFolder);

// The name of the installed program that sets up the default data source.
inline constexpr const char* kSetUpProgram = "dcfconvert-create-database";

// The command that sets up the default data source for a program in
// `programFolder`: the installed set-up program beside it (by its bare name
// when `searchPath`, a PATH value, finds that one), else a checkout's
// scripts/create-database in a folder above it, else the set-up program on
// `searchPath`; empty when there is none.
std::string setUpCommand(const std::filesystem::path& programFolder, const std::string& searchPath);

// The text of the message when the database cannot be opened; it names
// `setUp`, the command that sets up the default data source, when there
// is one.
std::string cannotOpenDatabaseText(const std::string& target, const std::string& driverMessage,
                                   const std::string& setUp);

// The same, naming the set-up command found for the running program.
std::string cannotOpenDatabaseText(const std::string& target, const std::string& driverMessage);

} // namespace dcf::app

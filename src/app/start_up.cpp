#include "app/start_up.h"

#include "app/program_folders.h"
#include "db/error.h"

#include <cstdlib>
#include <system_error>

#include <unistd.h>

namespace dcf::app {
namespace fs = std::filesystem;

namespace {

bool isProgram(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

// The first program named `name` in the folders of `searchPath`, as the
// shell would find it; empty when none.
fs::path findOnPath(const std::string& name, const std::string& searchPath) {
    if (searchPath.empty()) {
        return {};
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos) {
            end = searchPath.size();
        }
        // An empty entry is the current folder, as for the shell.
        const fs::path folder =
            end == start ? fs::path(".") : fs::path(searchPath.substr(start, end - start));
        if (isProgram(folder / name)) {
            return folder / name;
        }
        start = end + 1;
    }
    return {};
}

std::string pathVariable() {
    const char* path = std::getenv("PATH");
    return path != nullptr ? path : "";
}

bool sameFile(const fs::path& one, const fs::path& other) {
    std::error_code error;
    return !one.empty() && fs::equivalent(one, other, error);
}

} // namespace

std::string setUpCommand(const fs::path& programFolder, const std::string& searchPath) {
    const fs::path onPath = findOnPath(kSetUpProgram, searchPath);
    const fs::path beside = programFolder / kSetUpProgram;
    if (isProgram(beside)) {
        return sameFile(onPath, beside) ? std::string(kSetUpProgram) : beside.string();
    }
    // A build tree inside a checkout: the script beside the sources.
    for (fs::path folder = programFolder; !folder.empty(); folder = folder.parent_path()) {
        if (isProgram(folder / "scripts" / "create-database")) {
            return (folder / "scripts" / "create-database").string();
        }
        if (folder == folder.parent_path()) {
            break;
        }
    }
    return onPath.empty() ? std::string() : std::string(kSetUpProgram);
}

std::string cannotOpenDatabaseText(const std::string& target, const std::string& driverMessage,
                                   const std::string& setUp) {
    const std::string hint =
        setUp.empty() ? std::string() : " (" + setUp + " sets up the default data source qorvex)";
    return "The filing database could not be opened (" + target + ").\n\n" + driverMessage +
           "\n\nCheck that the data source exists and that its database can be reached" + hint +
           ", then start the program again.";
}

std::string cannotOpenDatabaseText(const std::string& target, const std::string& driverMessage) {
    return cannotOpenDatabaseText(target, driverMessage,
                                  setUpCommand(programFolder(), pathVariable()));
}

StartUpResult startUp(InstanceLock& lock, StartUpUi& ui, run::RunRequest& request,
                      const std::string& target, const std::filesystem::path& programFolder) {
    StartUpResult result;
    if (!lock.tryLock()) {
        ui.showAlreadyRunning();
        result.outcome = StartUpResult::Outcome::AlreadyRunning;
        return result;
    }
    request.logsFolder = chooseLogsFolder(programFolder);
    try {
        result.connection = db::Connection::open(target);
    } catch (const db::DbError& error) {
        ui.showCannotOpenDatabase(cannotOpenDatabaseText(
            target, error.message(), setUpCommand(programFolder, pathVariable())));
        result.outcome = StartUpResult::Outcome::DatabaseUnavailable;
    }
    return result;
}

} // namespace dcf::app

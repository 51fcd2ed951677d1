#include "app/program_folders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace dcf::app {
namespace fs = std::filesystem;

namespace {

fs::path homeFolder() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? fs::path(home) : fs::current_path();
}

bool holdsAnEntry(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder, error) && !fs::is_empty(folder, error);
}

} // namespace

fs::path programFolder() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : exe.parent_path();
}

fs::path chooseLogsFolder(const fs::path& programFolder) {
    std::error_code error;
    if (fs::is_directory(programFolder / "logs", error)) {
        return programFolder / "logs";
    }
    const char* state = std::getenv("XDG_STATE_HOME");
    const fs::path base =
        state != nullptr && *state == '/' ? fs::path(state) : homeFolder() / ".local" / "state";
    fs::path folder = base / "dcfconvert" / "logs";
    if (!fs::is_directory(folder, error)) {
        fs::create_directories(folder, error);
        // Logs hold a filer's names and amounts: only the user reads them.
        fs::permissions(base / "dcfconvert", fs::perms::owner_all, error);
        fs::permissions(folder, fs::perms::owner_all, error);
    }
    return folder;
}

fs::path chooseDataFolder(const fs::path& programFolder) {
    if (holdsAnEntry("/opt/QORVEX/data")) {
        return "/opt/QORVEX/data";
    }
    std::error_code error;
    if (fs::is_directory(programFolder / "data", error)) {
        return programFolder / "data";
    }
    return homeFolder();
}

void checkLogsFolderWritable(const fs::path& logsFolder) {
    std::error_code error;
    if (!fs::is_directory(logsFolder, error)) {
        throw std::runtime_error(
            "The logs folder " + logsFolder.string() +
            " does not exist. Create it, or remove it to use the default folder.");
    }
    if (::access(logsFolder.c_str(), W_OK | X_OK) != 0) {
        throw std::runtime_error("The conversion log cannot be written in " + logsFolder.string() +
                                 ": " + std::strerror(errno) +
                                 ". Give yourself write permission on that folder.");
    }
}

} // namespace dcf::app

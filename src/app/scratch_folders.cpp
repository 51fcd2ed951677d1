#include "app/scratch_folders.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dcf::app {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = "dcfconvert-";
constexpr const char* kLockFile = "in-use";

// Ours and a real folder, not a link to one: nothing else is touched.
bool ownFolder(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

bool olderThan(const fs::path& path, std::chrono::seconds age) {
    std::error_code error;
    const auto changed = fs::last_write_time(path, error);
    return !error && fs::file_time_type::clock::now() - changed > age;
}

bool abandoned(const fs::path& folder) {
    const fs::path lock = folder / kLockFile;
    const int descriptor = ::open(lock.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0) {
        return errno == ENOENT && olderThan(folder, std::chrono::hours(24));
    }
    // Closing the descriptor below lets the lock go again at once. A lock
    // file younger than a minute may be one a run has made but not yet
    // locked.
    const bool free = ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    ::close(descriptor);
    return free && olderThan(lock, std::chrono::minutes(1));
}

} // namespace

ScratchFolder makeScratchFolder(const fs::path& temporaryFolder) {
    std::string pattern = (temporaryFolder / (std::string(kPrefix) + "XXXXXX")).string();
    // mkdtemp makes the folder with mode 0700.
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("Cannot make a working folder in " + temporaryFolder.string() +
                                 ": " + std::strerror(errno));
    }
    ScratchFolder folder{pattern, -1};
    const fs::path lock = folder.path / kLockFile;
    folder.lockDescriptor = ::open(lock.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (folder.lockDescriptor < 0 || ::flock(folder.lockDescriptor, LOCK_EX | LOCK_NB) != 0) {
        const std::string reason = std::strerror(errno);
        if (folder.lockDescriptor >= 0) {
            ::close(folder.lockDescriptor);
        }
        std::error_code ignored;
        fs::remove_all(folder.path, ignored);
        throw std::runtime_error("Cannot hold the working folder " + folder.path.string() + ": " +
                                 reason);
    }
    return folder;
}

void removeAbandonedScratchFolders(const fs::path& temporaryFolder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(temporaryFolder, error)) {
        const fs::path& path = entry.path();
        if (path.filename().string().starts_with(kPrefix) && ownFolder(path) && abandoned(path)) {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    }
}

} // namespace dcf::app

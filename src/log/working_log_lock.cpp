#include "log/working_log_lock.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace dcf::log {

namespace fs = std::filesystem;

WorkingLogLock::WorkingLogLock(const fs::path& logsFolder) : folder_(logsFolder) {
    const fs::path file = logsFolder / "LogFile.lock";
    descriptor_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor_ < 0) {
        throw std::runtime_error("The conversion log cannot be written in " + logsFolder.string() +
                                 ": " + std::strerror(errno) +
                                 ". Check that the logs folder exists and can be written.");
    }
}

WorkingLogLock::~WorkingLogLock() {
    // Closing the only descriptor lets go of the lock.
    ::close(descriptor_);
}

WorkingLogLock::Result WorkingLogLock::acquire(std::chrono::milliseconds timeout,
                                               const std::function<bool()>& stopWaiting) {
    // flock, not fcntl: its lock belongs to the open file, so two runs of one
    // process (the window's and a test's) exclude each other as well.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (::flock(descriptor_, LOCK_EX | LOCK_NB) == 0) {
            return Result::Held;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            throw std::runtime_error("Cannot lock the conversion log in " + folder_.string() +
                                     ": " + std::strerror(errno) + ".");
        }
        if (stopWaiting && stopWaiting()) {
            return Result::Stopped;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return Result::Busy;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

std::string WorkingLogLock::busyText() const {
    return "Another conversion is writing its log in the logs folder " + folder_.string() +
           ". Try again when it has finished, or choose another logs folder.";
}

} // namespace dcf::log

#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace dcf::log {

// One run's hold on a logs folder's working log. Every run writes
// "LogFile.txt" of its logs folder, so two runs sharing a folder would write
// into each other's log; the hold is an exclusive lock on "LogFile.lock"
// beside it, kept for the whole run and let go when the object goes (or the
// process ends, however it ends). The lock file itself stays: removing it
// could let a third run lock a new file while the second still holds the
// old one.
class WorkingLogLock {
public:
    enum class Result { Held, Busy, Stopped };

    // Opens (creates, mode 0600) the lock file; throws std::runtime_error
    // naming the folder when it cannot.
    explicit WorkingLogLock(const std::filesystem::path& logsFolder);
    ~WorkingLogLock();
    WorkingLogLock(const WorkingLogLock&) = delete;
    WorkingLogLock& operator=(const WorkingLogLock&) = delete;

    // Takes the lock, waiting at most `timeout` for another run to let go;
    // Stopped as soon as `stopWaiting` says so (asked about ten times a
    // second).
    Result acquire(std::chrono::milliseconds timeout, const std::function<bool()>& stopWaiting);

    // "Another conversion is writing its log in FOLDER. ..."
    [[nodiscard]] std::string busyText() const;

private:
    std::filesystem::path folder_;
    int descriptor_ = -1;
};

} // namespace dcf::log

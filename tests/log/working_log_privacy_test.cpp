// The working log and its lock hold names and addresses: only their owner
// may read them, whatever the umask; and one run at a time holds a folder's
// working log.
#include "log/log_file.h"
#include "log/working_log_lock.h"
#include "log_test_folder.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using dcf::log::WorkingLogLock;
namespace fs = std::filesystem;

constexpr auto kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;

fs::perms permissionsOf(const fs::path& file) {
    return fs::status(file).permissions();
}

TEST(WorkingLogPrivacy, TheLogAndItsLockAreTheOwnersAloneAlsoUnderItsFinalName) {
    TempFolder folder;
    const mode_t previous = ::umask(0);
    const dcf::log::LogFile log(folder.path());
    log.writeHeader(std::chrono::system_clock::now());
    const WorkingLogLock lock(folder.path());
    ::umask(previous);
    EXPECT_EQ(permissionsOf(log.path()), kOwnerOnly);
    EXPECT_EQ(permissionsOf(folder.path() / "LogFile.lock"), kOwnerOnly);
    const fs::path kept = dcf::log::moveToFinalName(log, folder.path() / "kept.txt");
    EXPECT_EQ(permissionsOf(kept), kOwnerOnly);
}

TEST(WorkingLogLock, ASecondHolderWaitsThenGivesUpOrStopsAndGetsItOnceLetGo) {
    TempFolder folder;
    auto first = std::make_unique<WorkingLogLock>(folder.path());
    ASSERT_EQ(first->acquire(std::chrono::milliseconds(0), {}), WorkingLogLock::Result::Held);

    WorkingLogLock second(folder.path());
    EXPECT_EQ(second.acquire(std::chrono::milliseconds(200), {}), WorkingLogLock::Result::Busy);
    EXPECT_NE(second.busyText().find(folder.path().string()), std::string::npos);
    std::atomic<bool> stop{true};
    EXPECT_EQ(second.acquire(std::chrono::minutes(1), [&stop] { return stop.load(); }),
              WorkingLogLock::Result::Stopped);

    std::thread release([&first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        first.reset();
    });
    EXPECT_EQ(second.acquire(std::chrono::minutes(1), {}), WorkingLogLock::Result::Held);
    release.join();
}

TEST(WorkingLogLock, AFolderThatCannotHoldTheLockIsNamed) {
    TempFolder folder;
    try {
        const WorkingLogLock lock(folder.path() / "missing");
        FAIL() << "no lock in a folder that does not exist";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("missing"), std::string::npos) << error.what();
    }
}

} // namespace

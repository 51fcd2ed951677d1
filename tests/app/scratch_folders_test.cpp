// A working folder stays while its run holds it and goes once the run is
// gone; nothing else in the temporary folder is touched.
#include "app/scratch_folders.h"

#include "test_database.h"

#include <chrono>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dcf::test {
namespace {

namespace fs = std::filesystem;

void age(const fs::path& path, std::chrono::hours by) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - by);
}

TEST(ScratchFolders, OnlyFoldersOfRunsThatAreGoneAreRemoved) {
    TempFolder temporary;
    const app::ScratchFolder live = app::makeScratchFolder(temporary.path());
    EXPECT_EQ(fs::status(live.path).permissions(), fs::perms::owner_all);
    age(live.path / "in-use", std::chrono::hours(2));

    const app::ScratchFolder killed = app::makeScratchFolder(temporary.path());
    age(killed.path / "in-use", std::chrono::hours(2));
    ::close(killed.lockDescriptor); // as the end of its process would

    const app::ScratchFolder justKilled = app::makeScratchFolder(temporary.path());
    ::close(justKilled.lockDescriptor);

    const fs::path unlockedOld = temporary.path() / "dcfconvert-old000";
    const fs::path unlockedNew = temporary.path() / "dcfconvert-new000";
    const fs::path otherName = temporary.path() / "other-000000";
    const fs::path link = temporary.path() / "dcfconvert-link00";
    for (const auto& folder : {unlockedOld, unlockedNew, otherName}) {
        fs::create_directory(folder);
    }
    age(unlockedOld, std::chrono::hours(48));
    age(otherName, std::chrono::hours(48));
    fs::create_directory_symlink(otherName, link);

    app::removeAbandonedScratchFolders(temporary.path());

    EXPECT_TRUE(fs::exists(live.path)) << "held by its run";
    EXPECT_FALSE(fs::exists(killed.path));
    EXPECT_TRUE(fs::exists(justKilled.path)) << "may be a run between making and locking";
    EXPECT_FALSE(fs::exists(unlockedOld));
    EXPECT_TRUE(fs::exists(unlockedNew));
    EXPECT_TRUE(fs::exists(otherName));
    EXPECT_TRUE(fs::is_symlink(link));
    ::close(live.lockDescriptor);
}

} // namespace
} // namespace dcf::test

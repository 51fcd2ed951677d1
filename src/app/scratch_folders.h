#pragma once

#include <filesystem>

namespace dcf::app {

// A run's private working folder ("dcfconvert-XXXXXX", mode 0700) under the
// temporary folder, held by the run through an exclusive lock on its "in-use"
// file for as long as the returned descriptor stays open: a folder whose lock
// anyone can take belongs to a run that ended without tidying up (killed, or
// its machine stopped).
struct ScratchFolder {
    std::filesystem::path path;
    int lockDescriptor = -1;
};

// Makes and holds a new folder; throws std::runtime_error naming the
// temporary folder when it cannot.
ScratchFolder makeScratchFolder(const std::filesystem::path& temporaryFolder);

// Removes this user's working folders of runs that are gone: those whose
// lock can be taken (and was made over a minute ago), and those without a
// lock file older than a day (a run that died before it could lock). Never
// follows a link; a folder that cannot be removed stays.
void removeAbandonedScratchFolders(const std::filesystem::path& temporaryFolder);

} // namespace dcf::app

#pragma once

#include <filesystem>

namespace dcf::app {

// The folder of the running executable.
std::filesystem::path programFolder();

// The logs folder: "logs" beside the executable when it exists (a build
// tree, a portable copy); otherwise $XDG_STATE_HOME/dcfconvert/logs (by
// default ~/.local/state/dcfconvert/logs), created with mode 0700.
std::filesystem::path chooseLogsFolder(const std::filesystem::path& programFolder);

// Where the file chooser starts: /opt/QORVEX/data when it holds an entry,
// else the program folder's "data", else the home folder.
std::filesystem::path chooseDataFolder(const std::filesystem::path& programFolder);

// Throws std::runtime_error naming the folder when a log cannot be written
// there.
void checkLogsFolderWritable(const std::filesystem::path& logsFolder);

} // namespace dcf::app

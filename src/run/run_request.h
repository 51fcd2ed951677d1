#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace dcf::run {

// The DCF file a front end chose and what its filer line says, as the run's
// confirmation shows it.
struct SelectedFile {
    std::filesystem::path path;
    // The bare file name, as status texts and the final log name use it.
    std::string name;
    std::string filerType;
    std::string filerId;
    std::string filerName;
};

// What a front end hands to a run: the file, where its log goes, and how long
// it waits for another run on the same database. Answers to the run's
// questions come from the front end's view.
struct RunRequest {
    SelectedFile file;
    std::filesystem::path logsFolder;
    std::chrono::milliseconds runLockWait{30000};
};

} // namespace dcf::run

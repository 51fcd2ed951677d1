#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace dcf::cli {

// What the command line asks for. The answer lists hold the option words as
// given ("continue", "stop", "existing", ...); the last one answers every
// further question of its kind.
struct Options {
    std::filesystem::path file;
    // What db::Connection::open takes: "DSN=NAME", a connection string, or
    // the path of a SQLite file.
    std::string target = "DSN=qorvex";
    // Empty: the logs folder the window program uses.
    std::optional<std::filesystem::path> logsFolder;
    std::vector<std::string> duplicateFiler{"stop"};
    std::vector<std::string> similarNames{"new"};
    bool save = true;
    bool quiet = false;
};

// Options to run with, or the exit status when the program ends here (help,
// version, or a usage error already explained on `err`).
struct ParsedOptions {
    std::optional<Options> options;
    int exitStatus = 0;
};

inline constexpr int kUsageErrorStatus = 2;

ParsedOptions parseOptions(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The answer word for the question asked `index` times before (from 0): its
// own entry, or the last one when the list is shorter.
const std::string& answerWord(const std::vector<std::string>& words, std::size_t index);

} // namespace dcf::cli

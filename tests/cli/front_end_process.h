#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace dcf::test {

class TestDatabase;

// The options that point the front end at a test database: --database for a
// native SQLite file, --connect for a connection string.
std::vector<std::string> targetArgs(const TestDatabase& database);

// What a run of the batch front end as its own process left behind.
struct Process {
    int status = -1; // the exit status; -1 when a signal ended it
    int signal = 0;  // the signal that ended it, if any
    std::string out;
    std::string err;
};

struct ProcessOptions {
    // Runs the front end as the unprivileged user "nobody" when the tests
    // run as root, for whom no file is read-only; the files it needs must
    // then be readable (and, where it writes, writable) by everyone.
    bool unprivileged = false;
    // Standard output is a pipe whose reader has gone.
    bool closedOutput = false;
    // Called with the child's pid while it runs.
    std::function<void(pid_t)> whileRunning;
};

// Runs dcfconvert-cli with `args`; its standard output and error go to
// files in `folder`, which `whileRunning` may watch (outputFile/errorFile).
Process runFrontEnd(const std::vector<std::string>& args, const std::filesystem::path& folder,
                    const ProcessOptions& options = {});

std::filesystem::path outputFile(const std::filesystem::path& folder);
std::filesystem::path errorFile(const std::filesystem::path& folder);

// Waits (at most a minute) until `file` holds `text`; false when the process
// ended or the minute passed first.
bool waitForText(const std::filesystem::path& file, std::string_view text, pid_t pid);

// Whether a file's permission can make it read-only for the front end:
// always, when it runs unprivileged or the tests are not root.
bool runsAsRoot();

} // namespace dcf::test

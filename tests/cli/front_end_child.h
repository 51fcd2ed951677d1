#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dcf::test {

using Moment = std::chrono::steady_clock::duration;

// One line the front end wrote, and when the watcher read it.
struct ChildLine {
    bool standardError = false;
    std::string text;
    Moment at{}; // since the start
};

struct ChildRun {
    bool killed = false;          // ended by the watcher's SIGKILL
    int exitStatus = -1;          // when it ended by itself
    Moment killedAt{};            // since the start, when killed
    Moment endedAt{};             // since the start
    std::vector<ChildLine> lines; // every line written before it ended
};

// Seen each line as it is read, until it names a delay: the child is killed
// that long after that line.
using KillWhen = std::function<std::optional<Moment>(const ChildLine&)>;

// Runs dcfconvert-cli with `args` and TMPDIR set to `tmpdir`, reading its
// standard output and standard error line by line; without `killWhen` it
// runs to its end. A child that outlives a generous bound is killed and the
// test fails.
ChildRun runFrontEnd(const std::vector<std::string>& args, const std::filesystem::path& tmpdir,
                     const KillWhen& killWhen = {});

// The step of a progress line: its text before the bar and the counts.
std::string stepOf(const std::string& progressLine);

// Where the run was when it ended: "commit" after the answer to the closing
// question and before the log was named, "ended" after that, otherwise the
// step of its last progress line (empty before the first).
std::string phaseAtEnd(const ChildRun& run);

// The steps and the commit of a whole run, in order, with when each began
// and ended.
struct Phase {
    std::string name;
    Moment begin{};
    Moment end{};
};
std::vector<Phase> phasesOf(const ChildRun& run);

} // namespace dcf::test

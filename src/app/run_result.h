#pragma once

#include "run/conversion_run.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dcf::app {

// How a run ended.
enum class RunOutcome {
    Saved,      // committed on the user's Yes
    RolledBack, // the closing question was answered No
    Cancelled,  // Cancel, a stop answer, a filer that must not be converted
    Refused,    // stopped before any transaction began
    Failed,     // the driver or the database failed; nothing was saved
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Refused;
    // The log under its final name; empty when no log was written.
    std::filesystem::path logPath;
    // The log's entries as CSV beside it; empty when the log has none.
    std::filesystem::path entriesPath;
    // The count summary the driver wrote to the log, one line each.
    std::vector<std::string> summaryLines;
    // What the run counted, as it stood at the end, and the lines it read.
    run::RunCounts counts;
    std::int32_t linesRead = 0;
};

} // namespace dcf::app

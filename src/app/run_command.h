#pragma once

#include "run/run_context.h"

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
    // The count summary the driver wrote to the log, one line each.
    std::vector<std::string> summaryLines;
};

// The Run command: checks the selected file (run.filePath), asks for
// confirmation, writes the log header, begins the run's transaction and
// takes the run lock, runs the conversion, asks whether to keep it, and
// commits only on Yes. The run's transaction has one owner here, which ends
// it exactly once on every way out; while it is open, context.transaction
// points at it. Runs on the engine's thread; every view call goes through
// `context.view`.
RunResult runConversion(run::RunContext& context);

// Rolls the run back after a confirmed cancel or a stop and says so in the
// log.
void CancelImport(run::RunContext& context);

// The Cancel button's question, asked from the window's thread while the
// engine waits at its next yield. Yes sets the cancel-request flag and
// disables cmdStop; the other commands come back when the engine stops.
void askToCancel(run::ConversionRun& run, run::View& view);

// True for a path that ends in ".DCF_ZV" in any case.
bool hasDcfExtension(const std::filesystem::path& path);

} // namespace dcf::app

#pragma once

#include "app/run_result.h"
#include "db/connection.h"
#include "run/run_request.h"
#include "run/view.h"

#include <atomic>
#include <filesystem>

namespace dcf::app {

// The Run command: checks the selected file, asks for confirmation, writes
// the log header, begins the run's transaction and takes the run lock, runs
// the conversion, asks whether to keep it, and commits only on Yes. Each run
// has a state of its own, made here. The run's transaction has one owner
// here, which ends it exactly once on every way out. Runs on the engine's
// thread; every view call goes through `view`. The front end's Cancel sets
// `cancelRequested`, which the run clears as it starts.
RunResult runConversion(const run::RunRequest& request, db::Connection& db, run::View& view,
                        std::atomic<bool>& cancelRequested);

// The Cancel button's question, asked from the window's thread while the
// engine waits at its next yield. Yes sets the cancel-request flag and
// disables cmdStop; the other commands come back when the engine stops.
void askToCancel(std::atomic<bool>& cancelRequested, run::View& view);

// True for a path that ends in ".DCF_ZV" in any case.
bool hasDcfExtension(const std::filesystem::path& path);

} // namespace dcf::app

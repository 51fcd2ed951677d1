#pragma once

#include "db/connection.h"
#include "run/conversion_run.h"
#include "run/run_request.h"
#include "run/view.h"

#include <atomic>

namespace dcf::run {

// What every step of a run works with: what the front end asked for, the
// run's state, the shared connection and the view, and the run's
// transaction while one is open (its owner, the run command, sets it;
// nullptr outside a run).
struct RunContext {
    const RunRequest& request;
    ConversionRun& run;
    db::Connection& db;
    View& view;
    // Set by the front end's Cancel (from its own thread, or a signal) and by
    // the engine when the run must stop; the engine reads it between records.
    std::atomic<bool>& cancelRequested;
    db::Transaction* transaction = nullptr;
    // The scratch database of a run on a server (where its IMPORTTEMP lives),
    // nullptr otherwise. Its transaction is the run's too: a failure that
    // ends it ends the run. Statements reach it only through IMPORTTEMP's
    // owner (staging::ImportTemp).
    db::Connection* scratch = nullptr;
};

} // namespace dcf::run

#pragma once

#include "db/connection.h"
#include "run/conversion_run.h"
#include "run/view.h"

namespace dcf::run {

// What every step of a run works with: its state, the shared connection and
// the view, and the run's transaction while one is open (its owner, the run
// command, sets it; nullptr outside a run).
struct RunContext {
    ConversionRun& run;
    db::Connection& db;
    View& view;
    db::Transaction* transaction = nullptr;
};

} // namespace dcf::run

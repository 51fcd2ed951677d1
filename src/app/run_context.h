#pragma once

#include "app/conversion_run.h"
#include "app/view.h"
#include "db/connection.h"

namespace dcf::app {

// What every step of a run works with: its state, the shared connection and
// the view.
struct RunContext {
    ConversionRun& run;
    db::Connection& db;
    View& view;
};

} // namespace dcf::app

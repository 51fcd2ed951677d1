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
    // Where IMPORTTEMP lives during a run on a server: a scratch database of
    // the run's own, copied to the server's IMPORTTEMP when the run saves;
    // nullptr when IMPORTTEMP is the target's.
    db::Connection* scratch = nullptr;

    // The connection of every statement on IMPORTTEMP.
    [[nodiscard]] db::Connection& work() const { return scratch != nullptr ? *scratch : db; }
};

} // namespace dcf::run

#pragma once

#include "db/connection.h"
#include "run/conversion_run.h"
#include "run/run_request.h"
#include "run/server_rows.h"
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
    // The database the user chose. It holds the run lock and the run's
    // transaction; on a server, the steps work on the scratch instead (db()).
    db::Connection& target;
    View& view;
    // Set by the front end's Cancel (from its own thread, or a signal) and by
    // the engine when the run must stop; the engine reads it between records.
    std::atomic<bool>& cancelRequested;
    db::Transaction* transaction = nullptr;
    // The scratch database of a run on a server, nullptr otherwise: every
    // step reads and writes it, and the run writes its rows to the server
    // when the conversion is done. Its transaction is the run's too: a
    // failure that ends it ends the run.
    db::Connection* scratch = nullptr;
    // What copies the server's rows in to the scratch, while there is one.
    ServerRows* server = nullptr;

    // The database every step reads and writes.
    [[nodiscard]] db::Connection& db() const { return scratch != nullptr ? *scratch : target; }
    // Makes sure the rows of a filer the run has just met are in db().
    void useFiler(const std::string& filerId) const {
        if (server != nullptr) {
            server->copyFiler(filerId);
        }
    }
};

} // namespace dcf::run

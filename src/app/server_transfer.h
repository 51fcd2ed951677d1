#pragma once

#include "app/server_copy.h"
#include "run/run_context.h"
#include "staging/import_temp.h"

namespace dcf::app {

// Copies in, once the run holds the run lock, what the run reads from the
// server: the counters, and the chosen file's filer with its stored names
// (other filers of the file follow when the run meets them).
void readFromServer(run::RunContext& context, ServerCopy& copy);

// Writes a run's rows from its scratch database to the server once the
// conversion is done, before the closing question, inside the run's
// transaction: the counters the run holds, every table's new rows and the
// changed rows of the filers and counters, then IMPORTTEMP. The question then
// weighs a conversion the server has taken; only its Yes commits. Shows its
// progress and stops at a cancel (the run then rolls back); a failure is
// logged like any failure of the run, naming the table and the row.
void saveOnServer(run::RunContext& context, ServerCopy& copy, staging::ImportTemp& importTemp);

} // namespace dcf::app

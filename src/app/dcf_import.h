#pragma once

#include "run/run_context.h"
#include "staging/import_temp.h"

#include <exception>

namespace dcf::app {

// Takes the selected file through the conversion inside the run's open
// transaction: empties IMPORTTEMP, checks the file's filers against the
// database, stages every line, runs the importers and writes the count
// summary (run.summaryLines). Any failure is logged as a driver failure and
// counted; a cancel is rolled back through CancelImport.
void DCFImport(run::RunContext& context, staging::ImportTemp& importTemp);

// The driver's failure block ("---- (Procedure DCFImport)", the error's
// number, source and description, the line reached), counted as a driver
// failure. Also for a run that fails around DCFImport: its transaction or
// run lock. Throws when the log cannot be written.
void logDriverFailure(run::RunContext& context, const std::exception& error);

} // namespace dcf::app

#pragma once

#include "run/run_context.h"

namespace dcf::app {

// Takes the selected file through the conversion inside the run's open
// transaction: empties IMPORTTEMP, checks the file's filers against the
// database, stages every line, runs the importers and writes the count
// summary. Any failure is logged as a driver failure and counted in
// run.driverFailureCount; a cancel is rolled back through CancelImport.
void DCFImport(run::RunContext& context);

} // namespace dcf::app

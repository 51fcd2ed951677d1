#pragma once

#include "run/record_report.h"
#include "run/run_context.h"

namespace dcf::names {

// Adds the resolved name to names under the current name id, the role code
// and the run's filer; for the cover sheet's roles "F" (filer), "T"
// (treasurer) and "M" (mailing address) it keeps the values in the cover
// sheet's sets instead and writes no row. An out-of-state committee id over 9
// characters is cut, with a warning on the record being converted.
//
// A failure is logged with this procedure's own block and counted as
// unexpected; the name is then not added and the caller goes on. A failure
// that ends the run is rethrown.
void AddName(run::RunContext& context, run::RecordReport& report);

} // namespace dcf::names

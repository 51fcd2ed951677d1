#pragma once

#include "importers/importer_frame.h"
#include "run/run_context.h"
#include "staging/import_temp.h"

namespace dcf::importers {

// The filer, then every importer in the fixed order, each only when lines
// of one of its record types were staged. Leaves the chain as soon as the
// cancel-request flag is set (by the user's Cancel or an importer's stop)
// and returns false then; rolling the run back is the driver's.
bool runImporterChain(run::RunContext& context, staging::ImportTemp& importTemp);

} // namespace dcf::importers

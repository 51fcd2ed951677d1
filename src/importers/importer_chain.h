#pragma once

#include "app/run_context.h"

namespace dcf::importers {

// The filer, then every importer in the fixed order, each only when lines
// of its type were staged; leaves the chain as soon as the run is cancelled.
// Importers that do not exist yet are passed over.
void runImporterChain(app::RunContext& context);

} // namespace dcf::importers

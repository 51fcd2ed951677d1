#pragma once

#include "app/run_context.h"

namespace dcf::importers {

// Adds the file's filer to FILERS when the database does not know it yet.
// The only importer that can stop the conversion: without exactly one filer
// line, or without a filer id, the run is cancelled.
void ImportFLR(app::RunContext& context);

} // namespace dcf::importers

#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The filer importer: adds the file's filer to FILERS when the database does
// not know it yet. The only importer that can stop the conversion: without
// exactly one filer line, or without a filer id, the run is cancelled.
extern const ImporterDescription kImportFLR;

ImporterResult ImportFLR(run::RunContext& context);

} // namespace dcf::importers

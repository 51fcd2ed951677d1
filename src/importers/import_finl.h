#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The final-report importer: one FINL row per staged final-report record.
// It ends at its first failing row.
extern const ImporterDescription kImportFINL;

ImporterResult ImportFINL(run::RunContext& context);

} // namespace dcf::importers

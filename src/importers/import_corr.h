#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The correction importer: one CORR row, with the explanation of a corrected
// report, per staged correction record. It ends at its first failing row.
extern const ImporterDescription kImportCORR;

ImporterResult ImportCORR(run::RunContext& context);

} // namespace dcf::importers

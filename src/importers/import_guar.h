#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The guarantor importer: one GUAR row per staged GUAR record whose loan or
// debt the file holds, its guarantor resolved among the filer's names.
extern const ImporterDescription kImportGUAR;

ImporterResult ImportGUAR(run::RunContext& context);

} // namespace dcf::importers

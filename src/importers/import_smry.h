#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The summary importer: one SMRY row per staged summary line, the amount
// moved into the column its form and line item keep it in.
extern const ImporterDescription kImportSMRY;

ImporterResult ImportSMRY(run::RunContext& context);

} // namespace dcf::importers

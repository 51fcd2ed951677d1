#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The measure importer: one MEASURES row per staged ballot measure or office
// a report supports or opposes.
extern const ImporterDescription kImportCVR3;

ImporterResult ImportCVR3(run::RunContext& context);

} // namespace dcf::importers

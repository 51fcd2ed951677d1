#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The notice importer: one NOTICE row per staged notice, its subject and its
// treasurer named from the file's NAME records.
extern const ImporterDescription kImportCVR2;

ImporterResult ImportCVR2(run::RunContext& context);

} // namespace dcf::importers

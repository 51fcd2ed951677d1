#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The asset importer: one ASSET row per staged asset record.
extern const ImporterDescription kImportASSET;

ImporterResult ImportASSET(run::RunContext& context);

} // namespace dcf::importers

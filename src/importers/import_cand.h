#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The candidate importer: one BENEFIT row per staged candidate, named from
// the file's NAME record.
extern const ImporterDescription kImportCAND;

ImporterResult ImportCAND(run::RunContext& context);

} // namespace dcf::importers

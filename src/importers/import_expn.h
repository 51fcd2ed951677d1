#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The expenditure importer: one EXPN row per staged EXPN record, its payee
// resolved among the filer's names.
extern const ImporterDescription kImportEXPN;

ImporterResult ImportEXPN(run::RunContext& context);

} // namespace dcf::importers

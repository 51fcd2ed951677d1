#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The debt importer: one DEBT row per staged DEBT record, its creditor
// resolved among the filer's names and kept there.
extern const ImporterDescription kImportDEBT;

ImporterResult ImportDEBT(run::RunContext& context);

} // namespace dcf::importers

#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The text importer: a report's schedule texts into its memos row, one
// column per schedule letter; the texts of other letters into the report's
// cover row.
extern const ImporterDescription kImportTEXT;

ImporterResult ImportTEXT(run::RunContext& context);

} // namespace dcf::importers

#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The cover-sheet importer: one cvr row and one new report number per FORM
// record, the filer's treasurer refreshed in FILERS, and afterwards every
// converted report's staged rows moved to its new number. The rows of a
// report whose cover sheet was not converted are refused.
extern const ImporterDescription kImportFORM;

ImporterResult ImportFORM(run::RunContext& context);

} // namespace dcf::importers

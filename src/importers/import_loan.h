#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The loan importer: one LOAN row per staged LOAN record, its lender resolved
// among the filer's names.
extern const ImporterDescription kImportLOAN;

ImporterResult ImportLOAN(run::RunContext& context);

// The lines a loan's or a guarantor's error block shows between "Report # = "
// and the error: the back reference (empty for a loan, which has none) and
// the record number.
std::vector<std::string> backReferenceLines(const run::ConversionRun& run,
                                            const staging::StagedRow& row);

} // namespace dcf::importers

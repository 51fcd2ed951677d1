#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The credit importer: one CRED row per staged CRED record, its payee
// resolved among the filer's names.
extern const ImporterDescription kImportCRED;

ImporterResult ImportCRED(run::RunContext& context);

// "Added Credit record(s) for " and the resolved name: debts say the same.
std::string creditStatus(const run::ConversionRun& run, const staging::StagedRow& row);

} // namespace dcf::importers

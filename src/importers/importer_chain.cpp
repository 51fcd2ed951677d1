#include "importers/importer_chain.h"

#include "importers/import_asset.h"
#include "importers/import_cand.h"
#include "importers/import_corr.h"
#include "importers/import_cred.h"
#include "importers/import_cvr2.h"
#include "importers/import_cvr3.h"
#include "importers/import_debt.h"
#include "importers/import_expn.h"
#include "importers/import_finl.h"
#include "importers/import_flr.h"
#include "importers/import_form.h"
#include "importers/import_guar.h"
#include "importers/import_loan.h"
#include "importers/import_rcpt.h"
#include "importers/import_smry.h"
#include "importers/import_text.h"

#include <array>

namespace dcf::importers {
namespace {

// The order matters: report numbers and name ids are final before the
// schedules refer to them.
constexpr std::array<const ImporterDescription*, 15> kChain = {{
    &kImportFORM,
    &kImportCVR2,
    &kImportCVR3,
    &kImportSMRY,
    &kImportCAND,
    &kImportRCPT, // also converts the pledges
    &kImportEXPN,
    &kImportCRED,
    &kImportASSET,
    &kImportLOAN,
    &kImportGUAR,
    &kImportDEBT,
    &kImportTEXT,
    &kImportFINL,
    &kImportCORR,
}};

// Whether any of the importer's record types was staged: pledges are
// converted also in a file without contributions.
bool hasStagedRows(const run::ConversionRun& run, const ImporterDescription& importer) {
    for (const char* type : importer.recordTypes) {
        if (type != nullptr && run.staged(type) > 0) {
            return true;
        }
    }
    return false;
}

} // namespace

bool runImporterChain(run::RunContext& context) {
    ImportFLR(context);
    for (const ImporterDescription* importer : kChain) {
        if (context.run.cancelRequested) {
            return false;
        }
        if (hasStagedRows(context.run, *importer)) {
            runImporter(context, *importer);
        }
    }
    return !context.run.cancelRequested;
}

} // namespace dcf::importers

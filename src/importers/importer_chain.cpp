#include "importers/importer_chain.h"

#include "importers/import_cred.h"
#include "importers/import_debt.h"
#include "importers/import_expn.h"
#include "importers/import_flr.h"
#include "importers/import_form.h"
#include "importers/import_guar.h"
#include "importers/import_loan.h"
#include "importers/import_rcpt.h"

#include <array>

namespace dcf::importers {
namespace {

struct ChainLink {
    const char* procedure;
    const ImporterDescription* importer; // nullptr until that importer is built
};

// The order matters: report numbers and name ids are final before the
// schedules refer to them.
constexpr std::array<ChainLink, 15> kChain = {{
    {"ImportFORM", &kImportFORM},
    {"ImportCVR2", nullptr},
    {"ImportCVR3", nullptr},
    {"ImportSMRY", nullptr},
    {"ImportCAND", nullptr},
    {"ImportRCPT", &kImportRCPT}, // also converts the pledges
    {"ImportEXPN", &kImportEXPN},
    {"ImportCRED", &kImportCRED},
    {"ImportASSET", nullptr},
    {"ImportLOAN", &kImportLOAN},
    {"ImportGUAR", &kImportGUAR},
    {"ImportDEBT", &kImportDEBT},
    {"ImportTEXT", nullptr},
    {"ImportFINL", nullptr},
    {"ImportCORR", nullptr},
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
    for (const ChainLink& link : kChain) {
        if (context.run.cancelRequested) {
            return false;
        }
        const ImporterDescription* importer = link.importer;
        if (importer != nullptr && hasStagedRows(context.run, *importer)) {
            runImporter(context, *importer);
        }
    }
    return !context.run.cancelRequested;
}

} // namespace dcf::importers

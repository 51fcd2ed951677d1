#include "importers/importer_chain.h"

#include "importers/import_flr.h"
#include "importers/import_form.h"

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
    {"ImportRCPT", nullptr}, // also converts the pledges
    {"ImportEXPN", nullptr},
    {"ImportCRED", nullptr},
    {"ImportASSET", nullptr},
    {"ImportLOAN", nullptr},
    {"ImportGUAR", nullptr},
    {"ImportDEBT", nullptr},
    {"ImportTEXT", nullptr},
    {"ImportFINL", nullptr},
    {"ImportCORR", nullptr},
}};

} // namespace

bool runImporterChain(run::RunContext& context) {
    ImportFLR(context);
    for (const ChainLink& link : kChain) {
        if (context.run.cancelRequested) {
            return false;
        }
        const ImporterDescription* importer = link.importer;
        if (importer != nullptr && context.run.staged(importer->recordTypes[0]) > 0) {
            runImporter(context, *importer);
        }
    }
    return !context.run.cancelRequested;
}

} // namespace dcf::importers

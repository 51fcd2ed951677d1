#include "importers/importer_chain.h"

#include "importers/import_flr.h"

#include <array>

namespace dcf::importers {
namespace {

using Importer = void (*)(app::RunContext&);

struct ChainLink {
    const char* stagedType; // runs when lines of this type were staged
    Importer importer;      // nullptr until that importer is built
};

// The order matters: report numbers and name ids are final before the
// schedules refer to them.
constexpr std::array<ChainLink, 15> kChain = {{
    {"FORM", nullptr}, // ImportFORM
    {"CVR2", nullptr}, // ImportCVR2
    {"CVR3", nullptr}, // ImportCVR3
    {"SMRY", nullptr}, // ImportSMRY
    {"CAND", nullptr}, // ImportCAND
    {"RCPT", nullptr}, // ImportRCPT, which also converts the pledges
    {"EXPN", nullptr}, // ImportEXPN
    {"CRED", nullptr}, // ImportCRED
    {"ASSE", nullptr}, // ImportASSET
    {"LOAN", nullptr}, // ImportLOAN
    {"GUAR", nullptr}, // ImportGUAR
    {"DEBT", nullptr}, // ImportDEBT
    {"TEXT", nullptr}, // ImportTEXT
    {"FINL", nullptr}, // ImportFINL
    {"CORR", nullptr}, // ImportCORR
}};

} // namespace

void runImporterChain(app::RunContext& context) {
    ImportFLR(context);
    for (const ChainLink& link : kChain) {
        if (context.run.cancelRequested) {
            return;
        }
        if (link.importer != nullptr && context.run.staged(link.stagedType) > 0) {
            link.importer(context);
        }
    }
}

} // namespace dcf::importers

#include "importers/importer_chain.h"

#include "importers/importers.h"

namespace dcf::importers {
namespace {

// The order matters: the filer first; report numbers and name ids are final
// before the schedules refer to them.
constexpr const ImporterDescription* kChain[] = {
    &kImportFLR,  &kImportFORM, &kImportCVR2,  &kImportCVR3, &kImportSMRY, &kImportCAND,
    &kImportRCPT, // also converts the pledges
    &kImportEXPN, &kImportCRED, &kImportASSET, &kImportLOAN, &kImportGUAR, &kImportDEBT,
    &kImportTEXT, &kImportFINL, &kImportCORR,
};

// Whether the importer runs: pledges are converted also in a file without
// contributions, and the filer importer runs even without a filer line, to
// stop the run.
bool hasWork(const run::ConversionRun& run, const ImporterDescription& importer) {
    if (importer.runsWithoutRows) {
        return true;
    }
    for (const char* type : importer.recordTypes) {
        if (type != nullptr && run.counts.staged(type) > 0) {
            return true;
        }
    }
    return false;
}

} // namespace

bool runImporterChain(run::RunContext& context, staging::ImportTemp& importTemp) {
    // The names are renumbered by now: the file's NAME records are read once.
    ImporterContext importers{context, importTemp, {importTemp.nameRecords(), {}}, {}, {}};
    for (const ImporterDescription* importer : kChain) {
        if (context.cancelRequested) {
            return false;
        }
        if (hasWork(context.run, *importer)) {
            runImporter(importers, *importer);
        }
    }
    return !context.cancelRequested;
}

} // namespace dcf::importers

#include "importers/import_finl.h"

#include "importers/schedule_rules.h"

namespace dcf::importers {
namespace {

const std::string& insertFinalReport() {
    static const std::string sql = insertSql(
        "FINL", {"filer_id", "repno", "rec_type", "form_type", "boxa_cd", "boxb_cd", "oh_ack_cb"});
    return sql;
}

RowOutcome convertFinalReport(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    insertRow(row.db(), insertFinalReport(),
              {row.run().filerId, s.text("repno"), std::string("FINL"), s.field(6),
               s.field(7) == "1", s.field(8) == "1", s.field(9) == "Y"});
    return RowOutcome::added();
}

std::string finalReportStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return "Added Final Report record for filer #" + run.filerId;
}

} // namespace

// Keeps no count and lets a Cancel wait for the next importer.
const ImporterDescription kImportFINL{
    .procedure = "ImportFINL",
    .recordTypes = {"FINL"},
    .processingMessage = "Processing Final Report Records",
    .convert = convertFinalReport,
    .statusText = finalReportStatus,
    .blockRecordType = "FINL",
    .lineNumberLine = LineNumberLine::Capital,
    .endAtFirstError = true,
    .testCancel = false,
};

ImporterResult ImportFINL(run::RunContext& context) {
    return runImporter(context, kImportFINL);
}

} // namespace dcf::importers

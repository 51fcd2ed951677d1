#include "importers/importers.h"
#include "importers/schedule_rules.h"

namespace dcf::importers {
namespace {

RowOutcome convertFinalReport(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("FINL"))
        .set("form_type", s.field(6))
        .set("boxa_cd", s.field(7) == "1")
        .set("boxb_cd", s.field(8) == "1")
        .set("oh_ack_cb", s.field(9) == "Y");
    insertTargetRow(row, values);
    return RowOutcome::added();
}

std::string finalReportStatus(const ImportRow& row) {
    return "Added Final Report record for filer #" + row.run().filer.id;
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

} // namespace dcf::importers

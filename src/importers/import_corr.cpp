#include "importers/importers.h"
#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

namespace dcf::importers {
namespace {

// Each row's explanation is its own: a row without one stores none, not the
// explanation of the row before.
RowOutcome convertCorrection(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("CORR"))
        .set("form_type", s.field(6))
        .set("explain", stagedText(s));
    insertTargetRow(row, values);
    return RowOutcome::added();
}

std::string correctionStatus(const ImportRow& row) {
    return "Added CORR record(s) for report # " + row.staged().text("repno");
}

} // namespace

// Keeps no count and lets a Cancel wait for the end of the run.
const ImporterDescription kImportCORR{
    .procedure = "ImportCORR",
    .recordTypes = {"CORR"},
    .processingMessage = "Processing Correction Records",
    .convert = convertCorrection,
    .statusText = correctionStatus,
    .blockRecordType = "CORR",
    .lineNumberLine = LineNumberLine::Capital,
    .endAtFirstError = true,
    .testCancel = false,
};

} // namespace dcf::importers

#include "importers/import_corr.h"

#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

namespace dcf::importers {
namespace {

const std::string& insertCorrection() {
    static const std::string sql =
        insertSql("CORR", {"filer_id", "repno", "rec_type", "form_type", "explain"});
    return sql;
}

// Each row's explanation is its own: a row without one stores none, not the
// explanation of the row before.
RowOutcome convertCorrection(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    insertRow(row.db(), insertCorrection(),
              {row.run().filerId, s.text("repno"), std::string("CORR"), s.field(6), stagedText(s)});
    return RowOutcome::added();
}

std::string correctionStatus(const run::ConversionRun& /*run*/, const staging::StagedRow& row) {
    return "Added CORR record(s) for report # " + row.text("repno");
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

ImporterResult ImportCORR(run::RunContext& context) {
    return runImporter(context, kImportCORR);
}

} // namespace dcf::importers

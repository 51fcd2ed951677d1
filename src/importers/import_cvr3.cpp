#include "importers/import_cvr3.h"

#include "dcf/convert_date.h"
#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

namespace dcf::importers {
namespace {

const std::string& insertMeasure() {
    static const std::string sql = insertSql(
        "MEASURES", {"filer_id", "repno", "rec_type", "form_type", "item_id", "text_name",
                     "supoppsubj", "supopp_cd", "officename", "ballot_no", "election_dt"});
    return sql;
}

RowOutcome convertMeasure(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    run::ConversionRun& run = row.run();
    run::ScheduleItem& working = beginScheduleRow(row);
    const std::string subjectKind = s.field(8);
    // A measure is named by its description, a candidate by field 7.
    working.description = cutToLimit(row, subjectKind == "M" ? s.field(13) : s.field(7), 100,
                                     "Measure description", itemPlace(run));
    const std::string officeName =
        cutToLimit(row, stagedField10(s), 30, "Candidate Office Name", itemPlace(run));
    db::Value electionDate = db::Null{};
    if (const std::string staged = s.field(12); !isEmptyQuoted(staged)) {
        electionDate = ConvertDate(staged, run.recordError);
    }
    insertRow(row.db(), insertMeasure(),
              {run.filerId, s.text("repno"), std::string("CVR3"), s.field(6), s.text("rec_num"),
               working.description, subjectKind, s.field(9), officeName, s.field(11),
               electionDate});
    return RowOutcome::added();
}

std::string measureStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return "Added Measure record(s) For " + run.scheduleItem.description;
}

} // namespace

const ImporterDescription kImportCVR3{
    .procedure = "ImportCVR3",
    .recordTypes = {"CVR3"},
    .processingMessage = "Processing Activity/Purpose Records",
    .convert = convertMeasure,
    .countType = "CVR3",
    .statusText = measureStatus,
    .blockRecordType = "CVR3",
    .lineNumberLine = LineNumberLine::LowerCase,
};

ImporterResult ImportCVR3(run::RunContext& context) {
    return runImporter(context, kImportCVR3);
}

} // namespace dcf::importers

#include "importers/importers.h"
#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

namespace dcf::importers {
namespace {

constexpr run::FieldLimit kMeasureDescription{"Measure description", 100};
constexpr run::FieldLimit kCandidateOfficeName{"Candidate Office Name", 30};

RowOutcome convertMeasure(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    const std::string subjectKind = s.field(8);
    // A measure is named by its description, a candidate by field 7.
    row.item.description =
        run::cutToLimit(row, subjectKind == "M" ? s.field(13) : s.field(7), kMeasureDescription);
    const std::string officeName = run::cutToLimit(row, stagedField10(s), kCandidateOfficeName);
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("CVR3"))
        .set("form_type", s.field(6))
        .set("item_id", s.text("rec_num"))
        .set("text_name", row.item.description)
        .set("supoppsubj", subjectKind)
        .set("supopp_cd", s.field(9))
        .set("officename", officeName)
        .set("ballot_no", s.field(11))
        .set("election_dt", dateValue(optionalDate(s.field(12))));
    insertTargetRow(row, values);
    return RowOutcome::added();
}

std::string measureStatus(const ImportRow& row) {
    return "Added Measure record(s) For " + row.item.description;
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

} // namespace dcf::importers

#include "importers/importers.h"
#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

namespace dcf::importers {
namespace {

// An office's district number: "0" is none; at most 4 characters.
std::string officeNumber(ImportRow& row, const std::string& staged, const run::FieldLimit& limit) {
    return staged == "0" ? std::string() : run::cutToLimit(row, staged, limit, kFormRecord);
}

RowOutcome convertCandidate(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    const std::string heldName = run::cutToLimit(row, s.field(9), kOfficeHeldName, kFormRecord);
    const std::string heldNumber = officeNumber(row, stagedField10(s), kOfficeHeldNumber);
    const std::string soughtName =
        run::cutToLimit(row, s.field(12), kOfficeSoughtName, kFormRecord);
    const std::string soughtNumber = officeNumber(row, s.field(13), kOfficeSoughtNumber);
    // The candidate's name from the file's NAME record; empty when the file
    // has none with that id.
    if (const std::optional<staging::NameRecord> name =
            row.importers().names.fileRecords.find(s.field(7))) {
        row.resolved.name = name->name;
    }
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("EXPN"))
        .set("backref_id", s.field(4))
        .set("item_id", s.text("rec_num"));
    names::setNameColumns(values, "cand_", row.resolved.name);
    values.set("OffHldCd", s.field(8))
        .set("OffHldNam", heldName)
        .set("OffHldNum", heldNumber)
        .set("OffSeekCd", s.field(11))
        .set("OffSeekNam", soughtName)
        .set("OffSeekNum", soughtNumber);
    insertTargetRow(row, values);
    return RowOutcome::added();
}

std::string candidateStatus(const ImportRow& row) {
    return withResolvedName("Added Candidate record(s) for ", row);
}

} // namespace

const ImporterDescription kImportCAND{
    .procedure = "ImportCAND",
    .recordTypes = {"CAND"},
    .processingMessage = "Processing Candidate Records",
    .convert = convertCandidate,
    .countType = "CAND",
    .statusText = candidateStatus,
    .blockRecordType = "CAND",
    .lineNumberLine = LineNumberLine::Capital,
};

} // namespace dcf::importers

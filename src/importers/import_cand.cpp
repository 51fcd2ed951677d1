#include "importers/import_cand.h"

#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

namespace dcf::importers {
namespace {

const std::string& insertCandidate() {
    static const std::string sql =
        insertSql("BENEFIT", {"filer_id", "repno", "rec_type", "backref_id", "item_id", "cand_naml",
                              "cand_namf", "cand_namt", "cand_nams", "cand_namn", "OffHldCd",
                              "OffHldNam", "OffHldNum", "OffSeekCd", "OffSeekNam", "OffSeekNum"});
    return sql;
}

// An office's district number: "0" is none; at most 4 characters.
std::string officeNumber(ImportRow& row, const std::string& staged, const char* label) {
    return staged == "0" ? std::string() : cutToLimit(row, staged, 4, label, kFormRecord);
}

// The candidate's name from the file's NAME record; empty when the file has
// none with that id.
void readCandidateName(ImportRow& row, const std::string& nameId) {
    run::ResolvedName& name = row.run().resolvedName;
    staging::StagedRow record;
    if (staging::readNameRecord(row.work(), nameId, record)) {
        name.naml = record.field(7);
        name.namf = record.field(8);
        name.namt = record.field(9);
        name.nams = record.field(10);
        name.namn = record.field(11);
    }
}

RowOutcome convertCandidate(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    beginScheduleRow(row);
    const std::string heldName = cutToLimit(row, s.field(9), 30, "Office Held Name", kFormRecord);
    const std::string heldNumber = officeNumber(row, stagedField10(s), "Office Held Number");
    const std::string soughtName =
        cutToLimit(row, s.field(12), 30, "Office Sought Name", kFormRecord);
    const std::string soughtNumber = officeNumber(row, s.field(13), "Office Sought Number");
    readCandidateName(row, s.field(7));
    const run::ResolvedName& name = row.run().resolvedName;
    insertRow(row.db(), insertCandidate(),
              {row.run().filerId, s.text("repno"), std::string("EXPN"), s.field(4),
               s.text("rec_num"), name.naml, name.namf, name.namt, name.nams, name.namn, s.field(8),
               heldName, heldNumber, s.field(11), soughtName, soughtNumber});
    return RowOutcome::added();
}

std::string candidateStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return withResolvedName("Added Candidate record(s) for ", run);
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

ImporterResult ImportCAND(run::RunContext& context) {
    return runImporter(context, kImportCAND);
}

} // namespace dcf::importers

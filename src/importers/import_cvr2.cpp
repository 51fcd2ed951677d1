#include "importers/import_cvr2.h"

#include "importers/cover_sheet_names.h"
#include "importers/schedule_rules.h"

#include <stdexcept>

namespace dcf::importers {
namespace {

const std::string& insertNotice() {
    static const std::string sql = insertSql(
        "NOTICE",
        {"filer_id",  "repno",     "form_type", "rec_type",  "item_id",   "cmtte_type", "Cvr2_naml",
         "Cvr2_namf", "Cvr2_namt", "Cvr2_nams", "Cvr2_namn", "Cvr2_adr1", "Cvr2_adr2",  "Cvr2_city",
         "Cvr2_stcd", "Cvr2_zip4", "entity_cd", "tres_naml", "tres_namf", "tres_namt",  "tres_nams",
         "tres_namn", "tres_adr1", "tres_adr2", "tres_city", "tres_stcd", "tres_zip4"});
    return sql;
}

// Name, nickname and address of a NAME record: its fields 7 to 16.
constexpr int kFirstNameField = 7;
constexpr int kLastAddressField = 16;

// The fields of `name`, or empty text for a name the file does not have.
void appendNameFields(std::vector<db::Value>& values, const staging::StagedRow* name) {
    for (int n = kFirstNameField; n <= kLastAddressField; ++n) {
        values.emplace_back(name != nullptr ? name->field(n) : std::string());
    }
}

// The subject is looked up among the file's NAME records only: after the
// names were numbered, other records may carry the same number.
void readSubject(ImportRow& row, const std::string& nameId, staging::StagedRow& subject) {
    if (!staging::readNameRecord(row.work(), nameId, subject)) {
        throw std::runtime_error("The notice's candidate or committee, name id '" + nameId +
                                 "', is not a NAME record of the file.");
    }
}

// A treasurer name id of 1 or less names no treasurer.
bool namesTreasurer(const std::string& nameId) {
    const std::optional<double> number = asNumber(nameId);
    if (!number) {
        throw std::runtime_error("The notice's treasurer name id '" + nameId +
                                 "' is not a number.");
    }
    return *number > 1;
}

RowOutcome convertNotice(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    run::ConversionRun& run = row.run();
    beginScheduleRow(row);
    staging::StagedRow subject;
    readSubject(row, s.field(7), subject);
    run.resolvedName.naml = subject.field(7);
    const bool withTreasurer = namesTreasurer(s.field(8));

    std::vector<db::Value> values = {run.filerId,         s.text("repno"),   s.field(6),
                                     std::string("CVR2"), s.text("rec_num"), s.field(9)};
    appendNameFields(values, &subject);
    values.emplace_back(std::string(subject.field(8).empty() ? "E" : "I"));
    if (withTreasurer) {
        // A treasurer the file does not name leaves the columns empty.
        staging::StagedRow treasurer;
        const bool found = staging::readNameRecord(row.work(), s.field(8), treasurer);
        appendNameFields(values, found ? &treasurer : nullptr);
    } else {
        values.insert(values.end(), kLastAddressField - kFirstNameField + 1, db::Null{});
    }
    insertRow(row.db(), insertNotice(), values);
    return RowOutcome::added();
}

std::string noticeStatus(const run::ConversionRun& run, const staging::StagedRow& row) {
    return "Added Notice record(s) to " + row.field(6) + "'" + run.resolvedName.naml + "'";
}

} // namespace

const ImporterDescription kImportCVR2{
    .procedure = "ImportCVR2",
    .recordTypes = {"CVR2"},
    .processingMessage = "Processing Notice Records",
    .convert = convertNotice,
    .countType = "CVR2",
    .statusText = noticeStatus,
    .blockRecordType = "CVR2",
    .lineNumberLine = LineNumberLine::Capital,
};

ImporterResult ImportCVR2(run::RunContext& context) {
    return runImporter(context, kImportCVR2);
}

} // namespace dcf::importers

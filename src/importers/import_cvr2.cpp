#include "importers/cover_sheet_names.h"
#include "importers/importers.h"
#include "importers/schedule_rules.h"

#include <stdexcept>

namespace dcf::importers {
namespace {

// The subject is looked up among the file's NAME records only: after the
// names were numbered, other records may carry the same number.
staging::NameRecord readSubject(ImportRow& row, const std::string& nameId) {
    std::optional<staging::NameRecord> subject = row.importers().names.fileRecords.find(nameId);
    if (!subject) {
        throw std::runtime_error("The notice's candidate or committee, name id '" + nameId +
                                 "', is not a NAME record of the file.");
    }
    return std::move(*subject);
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

// The treasurer's name and address columns: the NAME record's, empty text
// for a treasurer the file does not name, or null for a notice without one.
void setTreasurerColumns(db::ColumnValues& values, ImportRow& row, const std::string& nameId) {
    if (!namesTreasurer(nameId)) {
        for (const auto& columns : {names::kNameColumns, names::kAddressColumns}) {
            for (const char* column : columns) {
                values.set(std::string("tres_") + column, db::Null{});
            }
        }
        return;
    }
    const staging::NameRecord treasurer =
        row.importers().names.fileRecords.find(nameId).value_or(staging::NameRecord{});
    names::setNameColumns(values, "tres_", treasurer.name);
    names::setAddressColumns(values, "tres_", treasurer.address);
}

RowOutcome convertNotice(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    const staging::NameRecord subject = readSubject(row, s.field(7));
    row.resolved.name.naml = subject.name.naml;
    db::ColumnValues values = reportRow(row);
    values.set("form_type", s.field(6))
        .set("rec_type", std::string("CVR2"))
        .set("item_id", s.text("rec_num"))
        .set("cmtte_type", s.field(9));
    names::setNameColumns(values, "Cvr2_", subject.name);
    names::setAddressColumns(values, "Cvr2_", subject.address);
    values.set("entity_cd", names::entityCode(subject.name));
    setTreasurerColumns(values, row, s.field(8));
    insertTargetRow(row, values);
    return RowOutcome::added();
}

std::string noticeStatus(const ImportRow& row) {
    return "Added Notice record(s) to " + row.staged().field(6) + "'" + row.resolved.name.naml +
           "'";
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

} // namespace dcf::importers

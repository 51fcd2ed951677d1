#include "importers/importers.h"
#include "importers/schedule_rules.h"

#include <optional>

namespace dcf::importers {
namespace {

// Where a guarantor's details go.
constexpr names::PersonColumns kGuarantorColumns{"g_employer", "g_occup",   "g_jobtitle",
                                                 "g_spousemp", "g_parent1", "g_parent2"};

// The type of the record a guarantor backs, by its record number. Name and
// cover-sheet records carry database numbers by now, which may equal any
// record number of the file, so they are never taken; among the others a
// loan or a debt comes first.
std::optional<std::string> parentRecordType(ImportRow& row, const std::string& number) {
    const std::vector<std::string> types = row.importTemp().fileTypesNumbered(number);
    for (const std::string& type : types) {
        if (type == "LOAN" || type == "DEBT") {
            return type;
        }
    }
    if (types.empty()) {
        return std::nullopt;
    }
    return types.front();
}

void addGuarantor(ImportRow& row, db::Currency amount, const std::string& parentType) {
    const staging::StagedRow& s = row.staged();
    const names::ResolvedName& name = row.resolved;
    db::ColumnValues values = reportRow(row);
    values.set("item_id", s.text("rec_num"))
        .set("backref_id", row.item.backReference)
        .set("guar_id", row.nameId)
        .set("entity_cd", names::entityCode(name.name));
    names::setNameColumns(values, "guar_", name.name);
    names::setAddressColumns(values, "guar_", name.address);
    values.set("guar_amt", amount);
    names::setPersonColumns(values, kGuarantorColumns, name.person);
    values.set("rec_type", parentType);
    insertTargetRow(row, values);
}

RowOutcome convertGuarantor(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    WorkingValues& item = row.item;
    item.backReference = s.field(4);
    const std::string nameId = s.field(7);
    if (nameId == "-1") {
        return RowOutcome::rejected("Guarantor Name id is missing. Record will not be imported.");
    }
    const std::string staged = s.field(8);
    const db::Currency amount = staged.empty() ? db::Currency{} : amountOf(staged);
    item.amount = amountText(amount);
    if (item.backReference.empty() || item.backReference == "-1") {
        return RowOutcome::rejected("Guarantor Loan is missing. Record will not be imported.");
    }
    // A guarantor the file does not name is missing its last name too.
    if (!resolveScheduleName(row, nameId, names::Role::Guarantor) ||
        row.resolved.name.naml.empty()) {
        return RowOutcome::rejected("Guarantor Last Name is missing. Record will not be imported.");
    }
    const std::optional<std::string> parentType = parentRecordType(row, item.backReference);
    if (!parentType) {
        return RowOutcome::rejected(
            "Guarantor is an orphan record. Guarantor record will not be imported.");
    }
    if (*parentType != "LOAN" && *parentType != "DEBT") {
        return RowOutcome::rejected("Guarantor parent record is not a LOAN or DEBT record. "
                                    "Guarantor record will not be imported.");
    }
    addGuarantor(row, amount, *parentType);
    return RowOutcome::added();
}

std::string guarantorStatus(const ImportRow& row) {
    return withResolvedName("Added Guarantor record(s) for ", row);
}

} // namespace

const ImporterDescription kImportGUAR{
    .procedure = "ImportGUAR",
    .recordTypes = {"GUAR"},
    .processingMessage = "Processing Guarantor Records",
    .convert = convertGuarantor,
    .countType = "GUAR",
    .statusText = guarantorStatus,
    .blockRecordType = "GUAR",
    .identifyingLines = backReferenceLines,
    .lineNumberLine = LineNumberLine::Capital,
};

} // namespace dcf::importers

#include "importers/importers.h"
#include "importers/schedule_rules.h"

namespace dcf::importers {
namespace {

// A filed statement of these forms lists only the items its filer itemized.
bool isSingleSheetForm(const std::string& formType) {
    return formType == "COH-SS" || formType == "SPAC-SS";
}

void addContribution(ImportRow& row, db::Currency amount, bool itemize) {
    const staging::StagedRow& s = row.staged();
    const names::ResolvedName& name = row.resolved;
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", s.text("rec_type"))
        .set("form_type", s.field(6))
        .set("ctrib_id", row.nameId)
        .set("item_id", s.text("rec_num"))
        .set("ctrib_amt", amount)
        .set("ctrib_date", row.item.date)
        .set("ctrib_dscr", row.item.description)
        .set("entity_cd", names::entityCode(name.name));
    names::setNameColumns(values, "ctrib_", name.name);
    names::setAddressColumns(values, "ctrib_", name.address);
    values.set("os_pac_cb", name.osPacCb).set("os_pac_fec", name.osPacFec);
    names::setPersonColumns(values, names::kPersonColumns, name.person);
    values.set("itemize_user", itemize).set("itemize_prog", false);
    insertTargetRow(row, values);
}

RowOutcome convertContribution(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    const DatedItem item = readDatedItem(row);
    // Unlike the other schedules, the description is cut before the checks.
    row.item.description =
        descriptionRule(row, row.item.description, "Contribution/Pledge description");
    if (auto rejection =
            checkDatedItem(row, item,
                           {"Contributor/Pledgor name id is missing. Record will not be imported.",
                            "Contribution Date is missing. Record will not be imported.",
                            "Contribution Amount is missing. Record will not be imported."})) {
        return *rejection;
    }
    bool itemize = s.field(11) == "Y";
    if (!resolveScheduleName(row, item.nameId, names::Role::Contributor)) {
        return RowOutcome::refused();
    }
    if (row.resolved.osPacFec == "0") {
        row.resolved.osPacFec.clear();
    }
    const CoverSheetItemization cover = readCoverSheetItemization(row);
    if (cover.found && isSingleSheetForm(cover.formType)) {
        if (cover.filed && !itemize) {
            return RowOutcome::skipped();
        }
        if (!cover.filed) {
            itemize = true;
        }
    }
    if (cover.itemizeAll) {
        itemize = true;
    }
    addContribution(row, *item.amount, itemize);
    return RowOutcome::added();
}

std::string contributionStatus(const ImportRow& row) {
    return withResolvedName("Added Contribution record(s) for ", row);
}

std::vector<std::string> contributionLines(const ImportRow& row) {
    const WorkingValues& item = row.item;
    return {"Record Number = " + std::string(row.recordNumber()),
            withResolvedName("Contributor Name = ", row),
            "Contribution Date = " + item.date,
            "Contribution Amount = " + item.amount,
            "Contribution Description = " + item.description,
            "Out-of-State PAC = " + row.resolved.osPacFec};
}

} // namespace

const ImporterDescription kImportRCPT{
    .procedure = "ImportRCPT",
    .recordTypes = {"RCPT", "PLDG"},
    .processingMessage = "Processing Contribution/Pledge Records",
    .convert = convertContribution,
    .countType = "RCPT",
    .statusText = contributionStatus,
    .blockRecordType = "RCPT",
    .identifyingLines = contributionLines,
    .errorNumberLine = false,
    .logPathLine = true,
};

} // namespace dcf::importers

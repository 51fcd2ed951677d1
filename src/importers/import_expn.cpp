#include "importers/importers.h"
#include "importers/schedule_rules.h"

namespace dcf::importers {
namespace {

// The flags an expenditure's form gives field 13 and the itemize flag.
struct ExpenditureFlags {
    std::string contributionToCandidate = "N";
    std::string reimbursement;
    bool itemize = false;
};

ExpenditureFlags expenditureFlags(const staging::StagedRow& s) {
    ExpenditureFlags flags;
    flags.itemize = s.field(11) == "Y";
    const std::string formType = s.field(6);
    if (const std::string flag = s.field(13); !flag.empty()) {
        if (formType == "UC-EXP") {
            flags.contributionToCandidate = flag == "Y" ? "Y" : "N";
        } else if (formType == "G") {
            flags.reimbursement = flag == "Y" ? "X" : "";
            flags.itemize = flags.itemize || flag == "Y";
        }
    }
    if (formType == "H") {
        flags.itemize = true;
    }
    return flags;
}

void addExpenditure(ImportRow& row, db::Currency amount, const ExpenditureFlags& flags) {
    const staging::StagedRow& s = row.staged();
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("EXPN"))
        .set("form_type", s.field(6))
        .set("item_id", s.text("rec_num"))
        .set("expn_amt", amount)
        .set("expn_date", row.item.date)
        .set("expn_descr", row.item.description)
        .set("expcntr_yn", flags.contributionToCandidate)
        .set("expncorp_yn", std::string("N"))
        .set("reimbur_cb", flags.reimbursement)
        .set("payee_id", row.nameId)
        .set("entity_cd", names::entityCode(row.resolved.name));
    names::setNameColumns(values, "payee_", row.resolved.name);
    names::setAddressColumns(values, "payee_", row.resolved.address);
    values.set("itemize_prog", false).set("itemize_user", flags.itemize);
    insertTargetRow(row, values);
}

RowOutcome convertExpenditure(ImportRow& row) {
    const DatedItem item = readDatedItem(row);
    if (auto rejection =
            checkDatedItem(row, item,
                           {"Payee name id is missing. Record will not be imported.",
                            "Expenditure Date is missing. Record will not be imported.",
                            "Expenditure Amount is missing. Record will not be imported."})) {
        return *rejection;
    }
    row.item.description = descriptionRule(row, row.item.description, "Expenditure description");
    ExpenditureFlags flags = expenditureFlags(row.staged());
    if (!resolveScheduleName(row, item.nameId, names::Role::Payee)) {
        return RowOutcome::refused();
    }
    if (readCoverSheetItemization(row).itemizeAll) {
        flags.itemize = true;
    }
    addExpenditure(row, *item.amount, flags);
    return RowOutcome::added();
}

std::string expenditureStatus(const ImportRow& row) {
    return withResolvedName("Added Expenditure record(s) for ", row);
}

std::vector<std::string> expenditureLines(const ImportRow& row) {
    const WorkingValues& item = row.item;
    return {"Record Number = " + std::string(row.recordNumber()),
            withResolvedName("Payee Name = ", row), "Expenditure Date = " + item.date,
            "Expenditure Amount = " + item.amount, "Expenditure Description = " + item.description};
}

} // namespace

const ImporterDescription kImportEXPN{
    .procedure = "ImportEXPN",
    .recordTypes = {"EXPN"},
    .processingMessage = "Processing Expenditure Records",
    .convert = convertExpenditure,
    .countType = "EXPN",
    .statusText = expenditureStatus,
    .blockRecordType = "EXPN",
    .identifyingLines = expenditureLines,
    .errorNumberLine = false,
};

} // namespace dcf::importers

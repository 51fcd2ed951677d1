#include "dcf/convert_date.h"
#include "importers/importers.h"
#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

namespace dcf::importers {
namespace {

// Where a loan keeps its lender's details.
constexpr names::PersonColumns kLenderColumns{"L_employer", "L_occup",   "L_jobtitle",
                                              "L_spousemp", "L_parent1", "L_parent2"};

// A flag the file writes as "Y" for the answer that the column stores as "0".
std::string zeroWhenYes(const std::string& flag) {
    return flag == "Y" ? "0" : "-1";
}

void addLoan(ImportRow& row, db::Currency amount, bool itemize) {
    const staging::StagedRow& s = row.staged();
    const names::ResolvedName& name = row.resolved;
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("LOAN"))
        .set("form_type", s.field(6))
        .set("item_id", s.text("rec_num"))
        .set("loan_date", row.item.date)
        .set("loan_amt", amount)
        .set("Int_Rate", s.field(11))
        // A maturity date left empty in the file stays empty in the table.
        .set("Mature_Dt", dateValue(optionalDate(s.field(12))))
        .set("No_Coll_CB", zeroWhenYes(s.field(13)))
        .set("Coll_Descr", row.item.description)
        .set("FinInst_YN", std::string(s.field(8) == "Y" ? "-1" : "0"))
        .set("lender_id", row.nameId)
        .set("entity_cd", names::entityCode(name.name));
    names::setNameColumns(values, "lend_", name.name);
    names::setAddressColumns(values, "lend_", name.address);
    values.set("os_pac_cb", name.osPacCb).set("os_pac_fec", name.osPacFec);
    names::setPersonColumns(values, kLenderColumns, name.person);
    values.set("Guar_NACB", zeroWhenYes(s.field(15)))
        .set("itemize_user", itemize)
        .set("itemize_prog", false);
    insertTargetRow(row, values);
}

RowOutcome convertLoan(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    WorkingValues& item = row.item;
    const std::string nameId = s.field(7);
    item.date = s.field(9);
    // Unlike the other schedules, an empty amount is no number either.
    const db::Currency amount = amountOf(s.field(10));
    item.amount = amountText(amount);
    if (nameId == "-1") {
        return RowOutcome::rejected("Lender id is missing. Record will not be imported.");
    }
    if (isEmptyQuoted(item.date)) {
        return RowOutcome::rejected("Loan Date is missing. Record will not be imported.");
    }
    item.date = ConvertDate(item.date).text;
    if (amount.tenThousandths() <= -10000) {
        return RowOutcome::rejected("Loan Amount is invalid. Record will not be imported.");
    }
    item.description = descriptionRule(row, s.field(14), "Loan collateral description");
    bool itemize = s.field(16) == "Y";
    if (!resolveScheduleName(row, nameId, names::Role::Lender)) {
        return RowOutcome::refused();
    }
    if (readCoverSheetItemization(row).itemizeAll) {
        itemize = true;
    }
    addLoan(row, amount, itemize);
    return RowOutcome::added();
}

std::string loanStatus(const ImportRow& row) {
    return withResolvedName("Added Loan record(s) for ", row);
}

} // namespace

const ImporterDescription kImportLOAN{
    .procedure = "ImportLOAN",
    .recordTypes = {"LOAN"},
    .processingMessage = "Processing Loan Records",
    .convert = convertLoan,
    .countType = "LOAN",
    .statusText = loanStatus,
    .blockRecordType = "LOAN",
    .identifyingLines = backReferenceLines,
    .lineNumberLine = LineNumberLine::Capital,
};

} // namespace dcf::importers

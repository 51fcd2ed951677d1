#include "importers/importers.h"
#include "importers/schedule_rules.h"

namespace dcf::importers {
namespace {

// The two amounts of a summary line, as stored.
struct SummaryAmounts {
    db::Currency amount;
    db::Currency userEntered;
};

// Unitemized cash on hand, and lines 5 and 6 of every form, keep the figure
// the filer entered as the line's amount. The rules apply one after the
// other: an unitemized line 5 ends with both amounts 0.
SummaryAmounts storedAmounts(const std::string& formType, const std::string& lineItem,
                             SummaryAmounts amounts) {
    if (formType == "COH-UC") {
        amounts = {amounts.userEntered, db::Currency{}};
    }
    if (lineItem == "5" || lineItem == "6") {
        amounts = {amounts.userEntered, db::Currency{}};
    }
    return amounts;
}

RowOutcome convertSummary(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    WorkingValues& working = row.item;
    SummaryAmounts amounts;
    amounts.amount = amountOf(s.field(8));
    working.amount = amountText(amounts.amount);
    amounts.userEntered = amountOf(s.field(9));
    working.userEntered = amountText(amounts.userEntered);

    const std::string formType = s.field(6);
    const std::string lineItem = s.field(7);
    amounts = storedAmounts(formType, lineItem, amounts);
    working.amount = amountText(amounts.amount);
    working.userEntered = amountText(amounts.userEntered);
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("SMRY"))
        .set("form_type", formType)
        .set("line_item", lineItem)
        .set("amount", amounts.amount)
        .set("user_entered", amounts.userEntered);
    insertTargetRow(row, values);
    return RowOutcome::added();
}

std::string summaryStatus(const ImportRow& row) {
    return "Added SMRY Record(s) with description of " + row.staged().field(6) + " line " +
           row.staged().field(7);
}

std::vector<std::string> summaryLines(const ImportRow& row) {
    return {"Form_type = " + row.staged().field(6), "Line_item = " + row.staged().field(7),
            "Line Amount = " + row.item.amount, "User Entered = " + row.item.userEntered};
}

} // namespace

const ImporterDescription kImportSMRY{
    .procedure = "ImportSMRY",
    .recordTypes = {"SMRY"},
    .orderBy = "repno, rec_num",
    .processingMessage = "Processing Summary Records",
    .convert = convertSummary,
    .countType = "SMRY",
    .statusText = summaryStatus,
    .blockRecordType = "SMRY",
    .identifyingLines = summaryLines,
};

} // namespace dcf::importers

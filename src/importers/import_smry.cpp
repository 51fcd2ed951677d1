#include "importers/import_smry.h"

#include "importers/schedule_rules.h"

namespace dcf::importers {
namespace {

const std::string& insertSummary() {
    static const std::string sql = insertSql("SMRY", {"filer_id", "repno", "rec_type", "form_type",
                                                      "line_item", "amount", "user_entered"});
    return sql;
}

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
    run::ScheduleItem& working = beginScheduleRow(row);
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
    insertRow(row.db(), insertSummary(),
              {row.run().filerId, s.text("repno"), std::string("SMRY"), formType, lineItem,
               amounts.amount, amounts.userEntered});
    return RowOutcome::added();
}

std::string summaryStatus(const run::ConversionRun& /*run*/, const staging::StagedRow& row) {
    return "Added SMRY Record(s) with description of " + row.field(6) + " line " + row.field(7);
}

std::vector<std::string> summaryLines(const run::ConversionRun& run,
                                      const staging::StagedRow& row) {
    return {"Form_type = " + row.field(6), "Line_item = " + row.field(7),
            "Line Amount = " + run.scheduleItem.amount,
            "User Entered = " + run.scheduleItem.userEntered};
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

ImporterResult ImportSMRY(run::RunContext& context) {
    return runImporter(context, kImportSMRY);
}

} // namespace dcf::importers

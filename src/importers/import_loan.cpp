#include "importers/import_loan.h"

#include "dcf/convert_date.h"
#include "importers/schedule_rules.h"

namespace dcf::importers {
namespace {

const std::string& insertLoan() {
    static const std::string sql = insertSql(
        "LOAN",
        {"filer_id",  "repno",      "rec_type",   "form_type",    "item_id",     "loan_date",
         "loan_amt",  "Int_Rate",   "Mature_Dt",  "No_Coll_CB",   "Coll_Descr",  "FinInst_YN",
         "lender_id", "entity_cd",  "lend_naml",  "lend_namf",    "lend_namt",   "lend_nams",
         "Lend_namn", "lend_adr1",  "lend_adr2",  "lend_city",    "lend_stcd",   "lend_zip4",
         "os_pac_cb", "os_pac_fec", "L_employer", "L_occup",      "L_jobtitle",  "L_spousemp",
         "L_parent1", "L_parent2",  "Guar_NACB",  "itemize_user", "itemize_prog"});
    return sql;
}

// A flag the file writes as "Y" for the answer that the column stores as "0".
std::string zeroWhenYes(const std::string& flag) {
    return flag == "Y" ? "0" : "-1";
}

// A maturity date left empty in the file stays empty in the table.
db::Value maturityDate(const std::string& staged, bool& recordError) {
    if (isEmptyQuoted(staged)) {
        return db::Null{};
    }
    return ConvertDate(staged, recordError);
}

void addLoan(ImportRow& row, db::Currency amount, const std::string& collateral, bool itemize) {
    const staging::StagedRow& s = row.staged();
    run::ConversionRun& run = row.run();
    const run::ResolvedName& name = run.resolvedName;
    std::vector<db::Value> values = {run.filerId,
                                     s.text("repno"),
                                     std::string("LOAN"),
                                     s.field(6),
                                     s.text("rec_num"),
                                     run.scheduleItem.date,
                                     amount,
                                     s.field(11),
                                     maturityDate(s.field(12), run.recordError),
                                     zeroWhenYes(s.field(13)),
                                     collateral,
                                     std::string(s.field(8) == "Y" ? "-1" : "0"),
                                     run.currentNameId,
                                     entityCode(name)};
    appendNameAndAddress(values, name);
    values.emplace_back(name.osPacCb);
    values.emplace_back(name.osPacFec);
    appendPersonDetails(values, name);
    values.emplace_back(zeroWhenYes(s.field(15)));
    values.emplace_back(itemize);
    values.emplace_back(false);
    insertRow(row.db(), insertLoan(), values);
}

RowOutcome convertLoan(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    run::ConversionRun& run = row.run();
    run::ScheduleItem& item = beginScheduleRow(row);
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
    item.date = ConvertDate(item.date, run.recordError);
    if (amount.tenThousandths() <= -10000) {
        return RowOutcome::rejected("Loan Amount is invalid. Record will not be imported.");
    }
    item.description = descriptionRule(row, s.field(14), "Loan collateral description");
    bool itemize = s.field(16) == "Y";
    if (resolveScheduleName(row, nameId, "L") == names::NameLookup::Missing) {
        return RowOutcome::refused();
    }
    if (readCoverSheetItemization(row, s.text("repno")).itemizeAll) {
        itemize = true;
    }
    addLoan(row, amount, item.description, itemize);
    return RowOutcome::added();
}

std::string loanStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return withResolvedName("Added Loan record(s) for ", run);
}

} // namespace

std::vector<std::string> backReferenceLines(const run::ConversionRun& run,
                                            const staging::StagedRow& /*row*/) {
    return {"BackRefId = " + run.scheduleItem.backReference,
            "Record Number = " + run.currentRecordNumber};
}

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

ImporterResult ImportLOAN(run::RunContext& context) {
    return runImporter(context, kImportLOAN);
}

} // namespace dcf::importers

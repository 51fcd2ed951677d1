#include "importers/import_expn.h"

#include "importers/schedule_rules.h"

#include <optional>

namespace dcf::importers {
namespace {

const std::string& insertExpenditure() {
    static const std::string sql = insertSql(
        "EXPN", {"filer_id",   "repno",      "rec_type",   "form_type",    "item_id",
                 "expn_amt",   "expn_date",  "expn_descr", "expcntr_yn",   "expncorp_yn",
                 "reimbur_cb", "payee_id",   "entity_cd",  "payee_naml",   "payee_namf",
                 "payee_namt", "payee_nams", "payee_namn", "payee_adr1",   "payee_adr2",
                 "payee_city", "payee_stcd", "payee_zip4", "itemize_prog", "itemize_user"});
    return sql;
}

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
    const run::ConversionRun& run = row.run();
    std::vector<db::Value> values = {run.filerId,
                                     s.text("repno"),
                                     std::string("EXPN"),
                                     s.field(6),
                                     s.text("rec_num"),
                                     amount,
                                     run.scheduleItem.date,
                                     run.scheduleItem.description,
                                     flags.contributionToCandidate,
                                     std::string("N"),
                                     flags.reimbursement,
                                     run.currentNameId,
                                     entityCode(run.resolvedName)};
    appendNameAndAddress(values, run.resolvedName);
    values.emplace_back(false);
    values.emplace_back(flags.itemize);
    insertRow(row.db(), insertExpenditure(), values);
}

RowOutcome convertExpenditure(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    run::ScheduleItem& working = beginScheduleRow(row);
    const DatedItem item = readDatedItem(row);
    if (auto rejection =
            checkDatedItem(row, item,
                           {"Payee name id is missing. Record will not be imported.",
                            "Expenditure Date is missing. Record will not be imported.",
                            "Expenditure Amount is missing. Record will not be imported."})) {
        return *rejection;
    }
    working.description = descriptionRule(row, working.description, "Expenditure description");
    ExpenditureFlags flags = expenditureFlags(s);
    if (resolveScheduleName(row, item.nameId, "P") == names::NameLookup::Missing) {
        return RowOutcome::refused();
    }
    if (readCoverSheetItemization(row, s.text("repno")).itemizeAll) {
        flags.itemize = true;
    }
    addExpenditure(row, *item.amount, flags);
    return RowOutcome::added();
}

std::string expenditureStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return withResolvedName("Added Expenditure record(s) for ", run);
}

std::vector<std::string> expenditureLines(const run::ConversionRun& run,
                                          const staging::StagedRow& /*row*/) {
    const run::ScheduleItem& item = run.scheduleItem;
    return {"Record Number = " + run.currentRecordNumber, withResolvedName("Payee Name = ", run),
            "Expenditure Date = " + item.date, "Expenditure Amount = " + item.amount,
            "Expenditure Description = " + item.description};
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

ImporterResult ImportEXPN(run::RunContext& context) {
    return runImporter(context, kImportEXPN);
}

} // namespace dcf::importers

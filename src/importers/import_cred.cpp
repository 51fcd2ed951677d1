#include "importers/import_cred.h"

#include "importers/schedule_rules.h"

#include <optional>

namespace dcf::importers {
namespace {

const std::string& insertCredit() {
    static const std::string sql =
        insertSql("CRED", {"filer_id",   "repno",      "rec_type",   "form_type",  "item_id",
                           "payee_id",   "incur_Date", "incur_amt",  "cred_descr", "entity_cd",
                           "payee_naml", "payee_namf", "payee_namt", "payee_nams", "payee_namn",
                           "payee_adr1", "payee_adr2", "payee_city", "payee_stcd", "payee_zip4"});
    return sql;
}

void addCredit(ImportRow& row, db::Currency amount) {
    const staging::StagedRow& s = row.staged();
    const run::ConversionRun& run = row.run();
    std::vector<db::Value> values = {run.filerId,
                                     s.text("repno"),
                                     std::string("CRED"),
                                     s.field(6),
                                     s.text("rec_num"),
                                     run.currentNameId,
                                     run.scheduleItem.date,
                                     amount,
                                     run.scheduleItem.description,
                                     entityCode(run.resolvedName)};
    appendNameAndAddress(values, run.resolvedName);
    insertRow(row.db(), insertCredit(), values);
}

RowOutcome convertCredit(ImportRow& row) {
    run::ScheduleItem& working = beginScheduleRow(row);
    const DatedItem item = readDatedItem(row);
    // This date's message has no full stop.
    if (auto rejection =
            checkDatedItem(row, item,
                           {"Payee Name Id is missing. Record will not be imported.",
                            "Expenditure Date is missing. Record will not be imported",
                            "Expenditure Amount is missing. Record will not be imported."})) {
        return *rejection;
    }
    working.description = descriptionRule(row, working.description, "Credit Description");
    if (resolveScheduleName(row, item.nameId, "P") == names::NameLookup::Missing) {
        return RowOutcome::refused();
    }
    addCredit(row, *item.amount);
    return RowOutcome::added();
}

} // namespace

std::string creditStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return withResolvedName("Added Credit record(s) for ", run);
}

const ImporterDescription kImportCRED{
    .procedure = "ImportCRED",
    .recordTypes = {"CRED"},
    .processingMessage = "Processing Credit Records",
    .convert = convertCredit,
    .countType = "CRED",
    .statusText = creditStatus,
    .blockRecordType = "CRED",
    .lineNumberLine = LineNumberLine::Capital,
};

ImporterResult ImportCRED(run::RunContext& context) {
    return runImporter(context, kImportCRED);
}

} // namespace dcf::importers

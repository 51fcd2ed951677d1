#include "importers/import_cred.h"

#include "dcf/convert_date.h"
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
    const staging::StagedRow& s = row.staged();
    run::ConversionRun& run = row.run();
    run::ScheduleItem& item = beginScheduleRow(row);
    const std::string nameId = s.field(7);
    item.date = s.field(8);
    std::optional<db::Currency> amount;
    if (const std::string staged = s.field(9); !staged.empty()) {
        amount = amountOf(staged);
        item.amount = amountText(*amount);
    }
    item.description = stagedDescription(s);
    if (nameId == "-1") {
        return RowOutcome::rejected("Payee Name Id is missing. Record will not be imported.");
    }
    if (isEmptyQuoted(item.date)) {
        return RowOutcome::rejected("Expenditure Date is missing. Record will not be imported");
    }
    item.date = ConvertDate(item.date, run.recordError);
    if (!amount) {
        return RowOutcome::rejected("Expenditure Amount is missing. Record will not be imported.");
    }
    item.description = descriptionRule(row, item.description, "Credit Description");
    if (resolveScheduleName(row, nameId, "P") == names::NameLookup::Missing) {
        return RowOutcome::refused();
    }
    addCredit(row, *amount);
    return RowOutcome::added();
}

} // namespace

std::string creditStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return withResolvedName("Added Credit record(s) for ", run);
}

const ImporterDescription kImportCRED{
    .procedure = "ImportCRED",
    .recordTypes = {"CRED"},
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

#include "importers/import_debt.h"

#include "importers/import_cred.h"
#include "importers/schedule_rules.h"
#include "names/add_name.h"
#include "staging/construct_input_record.h"

namespace dcf::importers {
namespace {

const std::string& insertDebt() {
    static const std::string sql = insertSql(
        "DEBT", {"filer_id", "repno", "rec_type", "form_type", "item_id", "cred_id", "entity_cd",
                 "cred_naml", "cred_namf", "cred_namt", "cred_nams", "cred_namn", "cred_adr1",
                 "cred_adr2", "cred_city", "cred_stcd", "cred_zip4", "Guar_NACB"});
    return sql;
}

bool filerHasName(db::Connection& db, const std::string& filerId, const std::string& nameId) {
    db::Statement& select =
        db.statement("select name_id from names where filer_id = ? and name_id = ?");
    select.run(filerId, nameId);
    const bool found = select.next();
    select.reset();
    return found;
}

void addDebt(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    const run::ConversionRun& run = row.run();
    std::vector<db::Value> values = {
        run.filerId,       s.text("repno"),   std::string("DEBT"),         s.field(6),
        s.text("rec_num"), run.currentNameId, entityCode(run.resolvedName)};
    appendNameAndAddress(values, run.resolvedName);
    values.emplace_back(std::string(s.field(15) == "Y" ? "0" : "-1"));
    insertRow(row.db(), insertDebt(), values);
}

RowOutcome convertDebt(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    run::ConversionRun& run = row.run();
    beginScheduleRow(row);
    const std::string nameId = s.field(7);
    if (nameId == "-1") {
        return RowOutcome::rejected("Creditor id is missing. Record will not be imported.");
    }
    if (resolveScheduleName(row, nameId, "L") == names::NameLookup::Missing) {
        return RowOutcome::refused();
    }
    addDebt(row);
    // The creditor stays in the filer's names, as a payee when it is new.
    if (!filerHasName(row.db(), run.filerId, run.currentNameId)) {
        run.roleCode = "P";
        names::AddName(row.context(), row);
    }
    return RowOutcome::added();
}

std::vector<std::string> debtLines(const run::ConversionRun& run, const staging::StagedRow& row) {
    return {"BackRefId = " + run.scheduleItem.backReference,
            "Record Number = " + run.currentRecordNumber,
            "---- Input Record Causing Error: '" + staging::ConstructInputRecord(row) + "'"};
}

} // namespace

const ImporterDescription kImportDEBT{
    .procedure = "ImportDEBT",
    .recordTypes = {"DEBT"},
    .processingMessage = "Processing Outstanding Loan Records",
    .convert = convertDebt,
    .countType = "DEBT",
    .statusText = creditStatus,
    .blockRecordType = "DEBT",
    .identifyingLines = debtLines,
    .lineNumberLine = LineNumberLine::Capital,
};

ImporterResult ImportDEBT(run::RunContext& context) {
    return runImporter(context, kImportDEBT);
}

} // namespace dcf::importers

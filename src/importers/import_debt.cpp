#include "db/cursor.h"
#include "importers/importers.h"
#include "importers/schedule_rules.h"
#include "names/add_name.h"
#include "staging/construct_input_record.h"

namespace dcf::importers {
namespace {

void addDebt(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("DEBT"))
        .set("form_type", s.field(6))
        .set("item_id", s.text("rec_num"))
        .set("cred_id", row.nameId)
        .set("entity_cd", names::entityCode(row.resolved.name));
    names::setNameColumns(values, "cred_", row.resolved.name);
    names::setAddressColumns(values, "cred_", row.resolved.address);
    values.set("Guar_NACB", std::string(s.field(15) == "Y" ? "0" : "-1"));
    insertTargetRow(row, values);
}

RowOutcome convertDebt(ImportRow& row) {
    const std::string nameId = row.staged().field(7);
    if (nameId == "-1") {
        return RowOutcome::rejected("Creditor id is missing. Record will not be imported.");
    }
    if (!resolveScheduleName(row, nameId, names::Role::Lender)) {
        return RowOutcome::refused();
    }
    addDebt(row);
    // The creditor stays in the filer's names, as a payee when it is new.
    if (!db::rowExists(row.db(), "select name_id from names where filer_id = ? and name_id = ?",
                       row.run().filer.id, row.nameId)) {
        names::AddName(row.context(), row.importers().names.stored, row, row.nameId,
                       names::Role::Payee, row.resolved);
    }
    return RowOutcome::added();
}

std::vector<std::string> debtLines(const ImportRow& row) {
    return {"BackRefId = " + row.item.backReference,
            "Record Number = " + std::string(row.recordNumber()),
            "---- Input Record Causing Error: '" + staging::ConstructInputRecord(row.staged()) +
                "'"};
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

} // namespace dcf::importers

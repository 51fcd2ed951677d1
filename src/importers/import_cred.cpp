#include "importers/importers.h"
#include "importers/schedule_rules.h"

namespace dcf::importers {
namespace {

void addCredit(ImportRow& row, db::Currency amount) {
    const staging::StagedRow& s = row.staged();
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("CRED"))
        .set("form_type", s.field(6))
        .set("item_id", s.text("rec_num"))
        .set("payee_id", row.nameId)
        .set("incur_Date", row.item.date)
        .set("incur_amt", amount)
        .set("cred_descr", row.item.description)
        .set("entity_cd", names::entityCode(row.resolved.name));
    names::setNameColumns(values, "payee_", row.resolved.name);
    names::setAddressColumns(values, "payee_", row.resolved.address);
    insertTargetRow(row, values);
}

RowOutcome convertCredit(ImportRow& row) {
    const DatedItem item = readDatedItem(row);
    // This date's message has no full stop.
    if (auto rejection =
            checkDatedItem(row, item,
                           {"Payee Name Id is missing. Record will not be imported.",
                            "Expenditure Date is missing. Record will not be imported",
                            "Expenditure Amount is missing. Record will not be imported."})) {
        return *rejection;
    }
    row.item.description = descriptionRule(row, row.item.description, "Credit Description");
    if (!resolveScheduleName(row, item.nameId, names::Role::Payee)) {
        return RowOutcome::refused();
    }
    addCredit(row, *item.amount);
    return RowOutcome::added();
}

} // namespace

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

} // namespace dcf::importers

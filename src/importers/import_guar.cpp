#include "importers/import_guar.h"

#include "importers/import_loan.h"
#include "importers/schedule_rules.h"

#include <optional>

namespace dcf::importers {
namespace {

const std::string& insertGuarantor() {
    static const std::string sql = insertSql(
        "GUAR", {"filer_id",  "repno",      "item_id",    "backref_id", "guar_id",   "entity_cd",
                 "guar_naml", "guar_namf",  "guar_namt",  "guar_nams",  "guar_namn", "guar_adr1",
                 "guar_adr2", "guar_city",  "guar_stcd",  "guar_zip4",  "guar_amt",  "g_employer",
                 "g_occup",   "g_jobtitle", "g_spousemp", "g_parent1",  "g_parent2", "rec_type"});
    return sql;
}

// The type of the record a guarantor backs, by its record number. Name and
// cover-sheet records carry database numbers by now, which may equal any
// record number of the file, so they are never taken; among the others a
// loan or a debt comes first.
std::optional<std::string> parentRecordType(db::Connection& db, const std::string& number) {
    db::Statement& select = db.statement(
        "select rec_type from IMPORTTEMP where rec_num = ? and rec_type <> 'NAME' and rec_type "
        "<> 'FORM' order by case when rec_type = 'LOAN' or rec_type = 'DEBT' then 0 else 1 end, "
        "import_key");
    select.run(number);
    std::optional<std::string> type;
    if (select.next()) {
        type = select.text("rec_type");
    }
    select.reset();
    return type;
}

void addGuarantor(ImportRow& row, db::Currency amount, const std::string& parentType) {
    const staging::StagedRow& s = row.staged();
    const run::ConversionRun& run = row.run();
    const run::ResolvedName& name = run.resolvedName;
    std::vector<db::Value> values = {run.filerId,       s.text("repno"),
                                     s.text("rec_num"), run.scheduleItem.backReference,
                                     run.currentNameId, entityCode(name)};
    appendNameAndAddress(values, name);
    values.emplace_back(amount);
    appendPersonDetails(values, name);
    values.emplace_back(parentType);
    insertRow(row.db(), insertGuarantor(), values);
}

RowOutcome convertGuarantor(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    run::ScheduleItem& item = beginScheduleRow(row);
    item.backReference = s.field(4);
    const std::string nameId = s.field(7);
    if (nameId == "-1") {
        return RowOutcome::rejected("Guarantor Name id is missing. Record will not be imported.");
    }
    const std::string staged = s.field(8);
    const db::Currency amount = staged.empty() ? db::Currency{} : amountOf(staged);
    item.amount = amountText(amount);
    if (item.backReference.empty() || item.backReference == "-1") {
        return RowOutcome::rejected("Guarantor Loan is missing. Record will not be imported.");
    }
    // A guarantor the file does not name is missing its last name too.
    if (resolveScheduleName(row, nameId, "G") == names::NameLookup::Missing ||
        row.run().resolvedName.naml.empty()) {
        return RowOutcome::rejected("Guarantor Last Name is missing. Record will not be imported.");
    }
    const std::optional<std::string> parentType = parentRecordType(row.work(), item.backReference);
    if (!parentType) {
        return RowOutcome::rejected(
            "Guarantor is an orphan record. Guarantor record will not be imported.");
    }
    if (*parentType != "LOAN" && *parentType != "DEBT") {
        return RowOutcome::rejected("Guarantor parent record is not a LOAN or DEBT record. "
                                    "Guarantor record will not be imported.");
    }
    addGuarantor(row, amount, *parentType);
    return RowOutcome::added();
}

std::string guarantorStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return withResolvedName("Added Guarantor record(s) for ", run);
}

} // namespace

const ImporterDescription kImportGUAR{
    .procedure = "ImportGUAR",
    .recordTypes = {"GUAR"},
    .processingMessage = "Processing Guarantor Records",
    .convert = convertGuarantor,
    .countType = "GUAR",
    .statusText = guarantorStatus,
    .blockRecordType = "GUAR",
    .identifyingLines = backReferenceLines,
    .lineNumberLine = LineNumberLine::Capital,
};

ImporterResult ImportGUAR(run::RunContext& context) {
    return runImporter(context, kImportGUAR);
}

} // namespace dcf::importers

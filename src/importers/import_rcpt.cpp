#include "importers/import_rcpt.h"

#include "importers/schedule_rules.h"

#include <optional>

namespace dcf::importers {
namespace {

const std::string& insertContribution() {
    static const std::string sql = insertSql(
        "RCPT",
        {"filer_id",   "repno",      "rec_type",   "form_type",  "ctrib_id",     "item_id",
         "ctrib_amt",  "ctrib_date", "ctrib_dscr", "entity_cd",  "ctrib_naml",   "ctrib_namf",
         "ctrib_namt", "ctrib_nams", "ctrib_namn", "ctrib_adr1", "ctrib_adr2",   "ctrib_city",
         "ctrib_stcd", "ctrib_zip4", "os_pac_cb",  "os_pac_fec", "employer",     "occup",
         "job_title",  "spous_emp",  "parent1",    "parent2",    "itemize_user", "itemize_prog"});
    return sql;
}

// A filed statement of these forms lists only the items its filer itemized.
bool isSingleSheetForm(const std::string& formType) {
    return formType == "COH-SS" || formType == "SPAC-SS";
}

void addContribution(ImportRow& row, db::Currency amount, bool itemize) {
    const staging::StagedRow& s = row.staged();
    const run::ConversionRun& run = row.run();
    const run::ResolvedName& name = run.resolvedName;
    std::vector<db::Value> values = {
        run.filerId,     s.text("repno"),       s.text("rec_type"),
        s.field(6),      run.currentNameId,     s.text("rec_num"),
        amount,          run.scheduleItem.date, run.scheduleItem.description,
        entityCode(name)};
    appendNameAndAddress(values, name);
    values.emplace_back(name.osPacCb);
    values.emplace_back(name.osPacFec);
    appendPersonDetails(values, name);
    values.emplace_back(itemize);
    values.emplace_back(false);
    insertRow(row.db(), insertContribution(), values);
}

RowOutcome convertContribution(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    run::ConversionRun& run = row.run();
    run::ScheduleItem& working = beginScheduleRow(row);
    const DatedItem item = readDatedItem(row);
    // Unlike the other schedules, the description is cut before the checks.
    working.description =
        descriptionRule(row, working.description, "Contribution/Pledge description");
    if (auto rejection =
            checkDatedItem(row, item,
                           {"Contributor/Pledgor name id is missing. Record will not be imported.",
                            "Contribution Date is missing. Record will not be imported.",
                            "Contribution Amount is missing. Record will not be imported."})) {
        return *rejection;
    }
    bool itemize = s.field(11) == "Y";
    if (resolveScheduleName(row, item.nameId, "C") == names::NameLookup::Missing) {
        return RowOutcome::refused();
    }
    if (run.resolvedName.osPacFec == "0") {
        run.resolvedName.osPacFec.clear();
    }
    const CoverSheetItemization cover = readCoverSheetItemization(row, s.text("repno"));
    if (cover.found && isSingleSheetForm(cover.formType)) {
        if (cover.filed && !itemize) {
            return RowOutcome::skipped();
        }
        if (!cover.filed) {
            itemize = true;
        }
    }
    if (cover.itemizeAll) {
        itemize = true;
    }
    addContribution(row, *item.amount, itemize);
    return RowOutcome::added();
}

std::string contributionStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return withResolvedName("Added Contribution record(s) for ", run);
}

std::vector<std::string> contributionLines(const run::ConversionRun& run,
                                           const staging::StagedRow& /*row*/) {
    const run::ScheduleItem& item = run.scheduleItem;
    return {"Record Number = " + run.currentRecordNumber,
            withResolvedName("Contributor Name = ", run),
            "Contribution Date = " + item.date,
            "Contribution Amount = " + item.amount,
            "Contribution Description = " + item.description,
            "Out-of-State PAC = " + run.resolvedName.osPacFec};
}

} // namespace

const ImporterDescription kImportRCPT{
    .procedure = "ImportRCPT",
    .recordTypes = {"RCPT", "PLDG"},
    .processingMessage = "Processing Contribution/Pledge Records",
    .convert = convertContribution,
    .countType = "RCPT",
    .statusText = contributionStatus,
    .blockRecordType = "RCPT",
    .identifyingLines = contributionLines,
    .errorNumberLine = false,
    .logPathLine = true,
};

ImporterResult ImportRCPT(run::RunContext& context) {
    return runImporter(context, kImportRCPT);
}

} // namespace dcf::importers

#include "names/check_dcf_names.h"

#include "dcf/text_encoding.h"
#include "names/add_name.h"
#include "names/check_names.h"
#include "names/id_counters.h"

#include <array>
#include <optional>
#include <utility>

namespace dcf::names {
namespace {

struct LengthLimit {
    std::string run::ResolvedName::*value;
    std::size_t limit;
    const char* label;
};

// In the order they are tested; the out-of-state id only when its flag is set.
const std::array<LengthLimit, 17> kLimits = {{
    {&run::ResolvedName::naml, 100,
     "Last Name field is longer than the 100 characters allowed. Field truncated in '"},
    {&run::ResolvedName::namf, 45,
     "First Name field is longer than the 45 characters allowed. Field truncated in '"},
    {&run::ResolvedName::namt, 15,
     "Name Title field is longer than the 15 characters allowed. Field truncated in '"},
    {&run::ResolvedName::nams, 5,
     "Name Suffix field is longer than the 5 characters allowed. Field truncated in '"},
    {&run::ResolvedName::namn, 25,
     "Nickname field is longer than the 25 characters allowed. Field truncated in '"},
    {&run::ResolvedName::adr1, 55,
     "Address Line 1 field is longer than the 55 characters allowed. Field truncated in '"},
    {&run::ResolvedName::adr2, 55,
     "Address Line 2 field is longer than the 55 characters allowed. Field truncated in '"},
    {&run::ResolvedName::city, 30,
     "City field is longer than the 30 characters allowed. Field truncated in '"},
    {&run::ResolvedName::stcd, 2,
     "State Code field is longer than the 2 characters allowed. Field truncated in '"},
    {&run::ResolvedName::zip4, 10,
     "Zip Code field is longer than the 10 characters allowed. Field truncated in '"},
    {&run::ResolvedName::employer, 60,
     "Employer field is longer than the 60 characters allowed. Field truncated in '"},
    {&run::ResolvedName::occup, 60,
     "Occupation field is longer than allowed. Field truncated in '"},
    {&run::ResolvedName::jobTitle, 60,
     "Job Title field is longer than the 60 characters allowed. Field truncated in '"},
    {&run::ResolvedName::spousEmp, 60,
     "Spouse's Employer field is longer than the 60 characters allowed. Field truncated in '"},
    {&run::ResolvedName::parent1, 50,
     "Parent 1 field is longer than the 50 characters allowed. Field truncated in '"},
    {&run::ResolvedName::parent2, 50,
     "Parent 2 field is longer than the 50 characters allowed. Field truncated in '"},
    {&run::ResolvedName::osPacFec, 9,
     "Out Of State PAC ID field is longer than the 9 characters allowed. Field truncated in '"},
}};

// The staged NAME record with this number, first in staging order.
bool readStagedName(db::Connection& db, const std::string& nameId, run::ResolvedName& name) {
    db::Statement& select =
        db.statement("select field7, field8, field9, field10, field11, field12, field13, field14, "
                     "field15, field16, field19, field21, field22, field23, field24, field25, "
                     "field26, field29 from IMPORTTEMP where rec_num = ? and rec_type = 'NAME' "
                     "order by import_key");
    select.run(nameId);
    if (!select.next()) {
        select.reset();
        return false;
    }
    name = {select.text("field7"),
            select.text("field8"),
            select.text("field9"),
            select.text("field10"),
            select.text("field11"),
            select.text("field12"),
            select.text("field13"),
            select.text("field14"),
            select.text("field15"),
            select.text("field16"),
            select.text("field22"),
            select.text("field19"),
            select.text("field21"),
            select.text("field23"),
            select.text("field24"),
            select.text("field25"),
            select.text("field29") == "Y" ? "-1" : "0",
            select.text("field26")};
    select.reset();
    return true;
}

// The filer's name under the current id, as names holds it: the row the
// name checks took, or read by its id.
std::optional<StoredName> storedName(run::RunContext& context, std::optional<StoredName> taken) {
    const run::ConversionRun& run = context.run;
    if (taken && taken->nameId == run.currentNameId) {
        return taken;
    }
    db::Statement& select =
        context.db.statement("select name_id, name_type, naml, namf, namt, nams, namn, adr1, "
                             "adr2, city, stcd, zip4, occup, job_title, employer, spous_emp, "
                             "parent1, parent2, os_pac_cb, os_pac_fec from names where filer_id "
                             "= ? and name_id = ?");
    select.run(run.filerId, run.currentNameId);
    std::optional<StoredName> stored;
    if (select.next()) {
        stored = readStoredName(select);
    }
    select.reset();
    return stored;
}

void settleStoredName(run::RunContext& context, run::RecordReport& report,
                      std::optional<StoredName> taken) {
    run::ConversionRun& run = context.run;
    std::optional<StoredName> stored = storedName(context, std::move(taken));
    if (!stored) {
        AddName(context, report);
        return;
    }
    if (stored->nameType != run.roleCode) {
        run.currentNameId = FindNextNameID(context);
        AddName(context, report);
        return;
    }
    run::ResolvedName& n = run.resolvedName;
    std::string* const columns[] = {&n.naml,    &n.namf,     &n.namt,     &n.nams,     &n.namn,
                                    &n.adr1,    &n.adr2,     &n.city,     &n.stcd,     &n.zip4,
                                    &n.occup,   &n.jobTitle, &n.employer, &n.spousEmp, &n.parent1,
                                    &n.parent2, &n.osPacCb};
    static_assert(std::size(columns) + 1 == kStoredNameColumns.size());
    for (std::size_t i = 0; i < std::size(columns); ++i) {
        *columns[i] = std::move(stored->values[i]);
    }
    // The out-of-state id is the last column.
    if (std::string& fec = stored->values.back(); !fec.empty()) {
        n.osPacFec = std::move(fec);
    }
}

} // namespace

void CheckNameLengths(run::RunContext& context, run::RecordReport& report) {
    run::ConversionRun& run = context.run;
    for (const LengthLimit& check : kLimits) {
        if (check.value == &run::ResolvedName::osPacFec && run.resolvedName.osPacCb != "-1") {
            continue;
        }
        std::string& value = run.resolvedName.*check.value;
        if (utf8Length(value) <= check.limit) {
            continue;
        }
        const std::string first(utf8First(value, check.limit));
        // The nickname's warning names no item id.
        const std::string item = check.value == &run::ResolvedName::namn
                                     ? std::string()
                                     : " Item Id " + run.currentRecordNumber;
        std::string message(check.label);
        message += run.currentRecordType;
        message += "' record";
        message += item;
        message += " from '";
        message += value;
        message += "' to '";
        message += first;
        message += "'";
        report.warn(message);
        value = first;
    }
}

NameLookup CheckDCFNames(run::RunContext& context, run::RecordReport& report) {
    run::ConversionRun& run = context.run;
    run.resolvedName = run::ResolvedName{};
    run.resolvedName.osPacCb = "0";
    if (!readStagedName(context.work(), run.currentNameId, run.resolvedName)) {
        report.reject(
            "Name is missing. Name id does not refer to an existing name. Record will not be "
            "imported!");
        return NameLookup::Missing;
    }
    CheckNameLengths(context, report);
    std::optional<StoredName> taken = CheckNames(context, report);
    settleStoredName(context, report, std::move(taken));
    return NameLookup::Found;
}

} // namespace dcf::names

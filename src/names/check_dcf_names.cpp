#include "names/check_dcf_names.h"

#include "db/cursor.h"
#include "names/add_name.h"
#include "names/check_names.h"
#include "names/id_counters.h"

#include <array>
#include <utility>

namespace dcf::names {
namespace {

// One value of a name and its column's width.
struct NameLimit {
    std::string& (*value)(ResolvedName&);
    run::FieldLimit limit;
};

// In the order they are tested; the out-of-state id only when its flag is set.
const std::array<NameLimit, 17> kLimits = {{
    {[](ResolvedName& n) -> std::string& { return n.name.naml; }, {"Last Name", 100}},
    {[](ResolvedName& n) -> std::string& { return n.name.namf; }, {"First Name", 45}},
    {[](ResolvedName& n) -> std::string& { return n.name.namt; }, {"Name Title", 15}},
    {[](ResolvedName& n) -> std::string& { return n.name.nams; }, {"Name Suffix", 5}},
    {[](ResolvedName& n) -> std::string& { return n.name.namn; }, {"Nickname", 25, true, false}},
    {[](ResolvedName& n) -> std::string& { return n.address.adr1; }, {"Address Line 1", 55}},
    {[](ResolvedName& n) -> std::string& { return n.address.adr2; }, {"Address Line 2", 55}},
    {[](ResolvedName& n) -> std::string& { return n.address.city; }, {"City", 30}},
    {[](ResolvedName& n) -> std::string& { return n.address.stcd; }, {"State Code", 2}},
    {[](ResolvedName& n) -> std::string& { return n.address.zip4; }, {"Zip Code", 10}},
    {[](ResolvedName& n) -> std::string& { return n.person.employer; }, {"Employer", 60}},
    {[](ResolvedName& n) -> std::string& { return n.person.occup; }, {"Occupation", 60, false}},
    {[](ResolvedName& n) -> std::string& { return n.person.jobTitle; }, {"Job Title", 60}},
    {[](ResolvedName& n) -> std::string& { return n.person.spousEmp; }, {"Spouse's Employer", 60}},
    {[](ResolvedName& n) -> std::string& { return n.person.parent1; }, {"Parent 1", 50}},
    {[](ResolvedName& n) -> std::string& { return n.person.parent2; }, {"Parent 2", 50}},
    {[](ResolvedName& n) -> std::string& { return n.osPacFec; }, kOutOfStateIdLimit},
}};

// The filer's name under this id, as names holds it: the row the name
// checks took from the index, or read by its id.
std::optional<StoredName> storedName(run::RunContext& context, NameMatch& match) {
    if (match.stored && match.stored->nameId == match.nameId) {
        return std::move(match.stored);
    }
    static const std::string sql = "select name_id, name_type, " + storedNameColumns() +
                                   " from names where filer_id = ? and name_id = ?";
    db::Cursor found(context.db(), sql, context.run.filer.id, match.nameId);
    if (!found.next()) {
        return std::nullopt;
    }
    return readStoredName(found.row());
}

// Settles the id to store and the values as names holds them.
CheckedName settleStoredName(run::RunContext& context, FilerNameIndex& index,
                             run::RecordReport& record, ResolvedName name, Role role,
                             NameMatch match) {
    std::optional<StoredName> stored = storedName(context, match);
    CheckedName checked{std::move(match.nameId), std::move(name)};
    if (!stored) {
        AddName(context, index, record, checked.nameId, role, checked.name);
        return checked;
    }
    if (stored->nameType != roleCode(role)) {
        checked.nameId = FindNextNameID(context);
        AddName(context, index, record, checked.nameId, role, checked.name);
        return checked;
    }
    // The out-of-state id stays the file's when names holds none.
    std::string fileId = std::move(checked.name.osPacFec);
    checked.name = std::move(stored->values);
    if (checked.name.osPacFec.empty()) {
        checked.name.osPacFec = std::move(fileId);
    }
    return checked;
}

} // namespace

void CheckNameLengths(ResolvedName& name, run::RecordReport& record) {
    for (const NameLimit& check : kLimits) {
        std::string& value = check.value(name);
        if (&value == &name.osPacFec && name.osPacCb != "-1") {
            continue;
        }
        value = run::cutToLimit(record, std::move(value), check.limit);
    }
}

std::optional<CheckedName> CheckDCFNames(run::RunContext& context, RunNames& names,
                                         const std::string& nameId, Role role,
                                         run::RecordReport& record) {
    std::optional<staging::NameRecord> staged = names.fileRecords.find(nameId);
    if (!staged) {
        record.reject(
            "Name is missing. Name id does not refer to an existing name. Record will not be "
            "imported!");
        return std::nullopt;
    }
    ResolvedName name = resolvedName(std::move(*staged));
    CheckNameLengths(name, record);
    NameMatch match = CheckNames(context, names.stored, record, name, role, nameId);
    return settleStoredName(context, names.stored, record, std::move(name), role, std::move(match));
}

} // namespace dcf::names

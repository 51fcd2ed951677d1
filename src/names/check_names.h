#pragma once

#include "db/statement.h"
#include "run/record_report.h"
#include "run/run_context.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace dcf::names {

// Matches the resolved name against the names the filer already has and
// sets the current name id: to an existing name that agrees in name, street,
// city, state, zip and (where the existing name has one) title; or, for a
// similar name, as the user answers the similar-name question (Yes keeps the
// existing id; No adds the name under a new id; Cancel does the same and asks
// no more this run); or to a new id under which it adds a name the filer
// does not have in that role. With the questions switched off a similar name
// leaves the id as it was. Names compare without regard to ASCII case.
// Returns the row of the existing name whose id it took, when it took one,
// so that the row need not be read again.
struct StoredName;
std::optional<StoredName> CheckNames(run::RunContext& context, run::RecordReport& report);

// The columns of a stored name that a resolved name takes over, in order.
inline constexpr std::array<const char*, 18> kStoredNameColumns = {
    "naml",     "namf",      "namt",    "nams",    "namn",      "adr1",
    "adr2",     "city",      "stcd",    "zip4",    "occup",     "job_title",
    "employer", "spous_emp", "parent1", "parent2", "os_pac_cb", "os_pac_fec"};

// A row of names as the checks read it, a null read as empty.
struct StoredName {
    std::string nameId;
    std::string nameType;
    std::array<std::string, kStoredNameColumns.size()> values;
};
// From a selected row holding name_id, name_type and those columns.
StoredName readStoredName(db::Statement& row);

// The similar-name question's text.
struct NameLines {
    std::string title, first, last, street, city, state, zip;
};
std::string similarNameQuestion(const NameLines& existing, const NameLines& added);

} // namespace dcf::names

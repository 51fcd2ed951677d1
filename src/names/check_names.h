#pragma once

#include "db/statement.h"
#include "names/filer_name_index.h"
#include "names/resolved_name.h"
#include "run/record_report.h"
#include "run/run_context.h"

#include <array>
#include <optional>
#include <string>

namespace dcf::names {

// The columns of a stored name that a resolved name takes over, in order.
inline constexpr std::array<const char*, 18> kStoredNameColumns = {
    "naml",     "namf",      "namt",    "nams",    "namn",      "adr1",
    "adr2",     "city",      "stcd",    "zip4",    "occup",     "job_title",
    "employer", "spous_emp", "parent1", "parent2", "os_pac_cb", "os_pac_fec"};

static_assert(kStoredNameColumns.size() + 2 == kStoredValues,
              "the index keeps name_id, name_type and these columns");

// "naml, namf, ..., os_pac_fec": those columns for a selection.
const std::string& storedNameColumns();

// A row of names as the checks read it, a null read as empty.
struct StoredName {
    std::string nameId;
    std::string nameType;
    ResolvedName values;
};
// From a selected row holding name_id, name_type and those columns, in
// that order.
StoredName readStoredName(db::Statement& row);
// From those values, in the same order.
StoredName storedNameOf(const std::array<std::string_view, kStoredValues>& values);

// What the name checks settled on: the id to store, and the stored row of
// the existing name whose id they took, when the index held it.
struct NameMatch {
    std::string nameId;
    std::optional<StoredName> stored;
};

// Matches the name against the names the filer already has (`stored`, read
// when first needed and kept current with the names added) and settles the
// id: an existing name that agrees in name, street, city, state, zip and
// (where the existing name has one) title; or, for a similar name, as the
// user answers the similar-name question (Yes keeps the existing id; No adds
// the name under a new id; Cancel does the same and asks no more this run);
// or a new id under which it adds a name the filer does not have in that
// role. With the questions switched off a similar name keeps `nameId`, the
// record's own. Names compare without regard to ASCII case. A name added
// here is the name as added.
NameMatch CheckNames(run::RunContext& context, FilerNameIndex& stored, run::RecordReport& record,
                     ResolvedName& name, Role role, const std::string& nameId);

// The similar-name question's text.
struct NameLines {
    std::string title, first, last, street, city, state, zip;
};
std::string similarNameQuestion(const NameLines& existing, const NameLines& added);

} // namespace dcf::names

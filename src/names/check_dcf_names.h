#pragma once

#include "names/resolved_name.h"
#include "names/run_names.h"
#include "run/record_report.h"
#include "run/run_context.h"

#include <optional>
#include <string>

namespace dcf::names {

// A record's name as a name of the database: the id to store and the name
// as names holds it.
struct CheckedName {
    std::string nameId;
    ResolvedName name;
};

// Turns the name a schedule record refers to (its name id, renumbered from
// the file's NAME record) into a name of the database: the name's values are
// cut to their columns' widths (a warning each), matched against the filer's
// names, and reused or added in this role. Nothing when the name id refers
// to no NAME record of the file: the record was then refused (a severe
// entry, its row marked "E") and must not be added.
std::optional<CheckedName> CheckDCFNames(run::RunContext& context, RunNames& names,
                                         const std::string& nameId, Role role,
                                         run::RecordReport& record);

// Cuts each value of the name to its column's width, with one warning per
// value cut.
void CheckNameLengths(ResolvedName& name, run::RecordReport& record);

} // namespace dcf::names

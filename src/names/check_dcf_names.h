#pragma once

#include "run/record_report.h"
#include "run/run_context.h"

namespace dcf::names {

enum class NameLookup {
    Found,
    // The name id refers to no NAME record of the file: the record was
    // refused (a severe entry, its row marked "E") and must not be added.
    Missing,
};

// Turns the name a schedule record refers to into a name of the database.
// Before the call the importer sets the current name id (the record's name
// reference), the role code and the current record; afterwards the current
// name id is the id to store and the resolved name holds the name as stored.
// The name's values are cut to their columns' widths (a warning each),
// matched against the filer's names, and reused or added.
NameLookup CheckDCFNames(run::RunContext& context, run::RecordReport& report);

// Cuts each value of the resolved name to its column's width, with one
// warning per value cut.
void CheckNameLengths(run::RunContext& context, run::RecordReport& report);

} // namespace dcf::names

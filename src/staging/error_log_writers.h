#pragma once

#include "log/log_entries.h"
#include "run/run_context.h"
#include "staging/import_temp.h"
#include "staging/staged_row.h"

#include <string>
#include <string_view>

namespace dcf::staging {

// The staged row as the log's entries name it: its DCF line, its type (the
// filer's without the comma of its code), numbers and input record.
// The record type an entry names for a staged code: the type's name ("FLR"
// for "FLR,"), or the code as it stands for a code of no type.
std::string entryRecordType(std::string_view code);

log::EntryRecord stagedEntryRecord(const run::RunContext& context, const StagedRow& row);

// A record converted with a correction (a default, a value cut to its
// column's width): one entry in the log with the row's input record, one
// more imported-with-error.
void WriteToErrorLog(run::RunContext& context, const StagedRow& row, std::string_view description);

// A record that is not converted: one entry in the log with the row's input
// record, one more not-imported, and the row marked "E".
void WriteSevereErrorLog(run::RunContext& context, ImportTemp& importTemp, const StagedRow& row,
                         std::string_view description);

} // namespace dcf::staging

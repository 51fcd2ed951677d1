#pragma once

#include "run/run_context.h"
#include "staging/import_temp.h"
#include "staging/staged_row.h"

#include <string_view>

namespace dcf::staging {

// A record converted with a correction (a default, a value cut to its
// column's width): one entry in the log with the row's input record, one
// more imported-with-error.
void WriteToErrorLog(run::RunContext& context, const StagedRow& row, std::string_view description);

// A record that is not converted: one entry in the log with the row's input
// record, one more not-imported, and the row marked "E".
void WriteSevereErrorLog(run::RunContext& context, ImportTemp& importTemp, const StagedRow& row,
                         std::string_view description);

} // namespace dcf::staging

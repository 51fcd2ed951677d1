#pragma once

#include "run/run_context.h"

#include <cstdint>
#include <string_view>

namespace dcf::run {

// A record converted with a correction (a default, a value cut to its
// column's width): one entry in the log, one more imported-with-error.
void WriteToErrorLog(RunContext& context, std::string_view inputRecord,
                     std::string_view description);

// A record that is not converted: one entry in the log, one more
// not-imported, its staged row marked "E" and the record-error flag set.
// The row is the one the importer stands on (run.currentStagingKey).
void WriteSevereErrorLog(RunContext& context, std::string_view inputRecord,
                         std::string_view description);

// Counts a record that was not converted and shows the count.
void countNotImported(RunContext& context);

// Marks a staged row "E": its record was not imported. Key 0 (no row being
// walked) marks nothing.
void markRejected(db::Connection& connection, std::int64_t key);

} // namespace dcf::run

#pragma once

#include "app/run_context.h"

#include <string_view>

namespace dcf::log {

// A record converted with a correction (a default, a value cut to its
// column's width): one entry in the log, one more imported-with-error.
void WriteToErrorLog(app::RunContext& context, std::string_view inputRecord,
                     std::string_view description);

// A record that is not converted: one entry in the log, one more
// not-imported, its staged row marked "E" and the record-error flag set.
// The row is the one the importer stands on (run.currentStagingKey).
void WriteSevereErrorLog(app::RunContext& context, std::string_view inputRecord,
                         std::string_view description);

// Counts a record that was not converted and shows the count.
void countNotImported(app::RunContext& context);

} // namespace dcf::log

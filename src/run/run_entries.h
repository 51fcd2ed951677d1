#pragma once

#include "log/log_entries.h"
#include "run/run_context.h"

#include <string_view>

namespace dcf::run {

// Writes one entry of the conversion log as data to the run's entries file,
// before the log's own lines for it, so that the entries file of a run that
// is killed holds every entry its log holds. `step` names the procedure;
// empty, the run's current one.
void recordEntry(const RunContext& context, log::EntryOutcome outcome, log::EntryRecord record,
                 std::string_view message, std::string_view step = {});

} // namespace dcf::run

#pragma once

#include "app/run_command.h"

namespace dcf::app {

// Decides how a run that was not cancelled ends: a failed driver rolls back;
// otherwise the closing question that fits the counts is asked and only Yes
// commits. A cancelled run has been rolled back already.
RunOutcome settleRun(RunContext& context);

// Ends a run whose machinery failed: rolls back, says that nothing was saved.
RunOutcome failRun(RunContext& context, const std::string& what);

} // namespace dcf::app

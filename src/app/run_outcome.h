#pragma once

#include "app/run_result.h"
#include "run/run_context.h"
#include "staging/import_temp.h"

#include <string>

namespace dcf::app {

// Decides how a run that was not cancelled ends: a failed driver rolls back;
// otherwise the closing question that fits the counts is asked and only Yes
// commits. A cancelled run has been rolled
// back already. Ends the run's transaction (context.transaction).
RunOutcome settleRun(run::RunContext& context);

// Ends a run whose machinery failed: rolls back the run's transaction if one
// is open and shows `message`, to which a failed rollback adds its reason.
RunOutcome failRun(run::RunContext& context, const std::string& message);

// "The conversion failed and nothing was saved." and what went wrong.
std::string nothingSaved(const std::string& what);

} // namespace dcf::app

#pragma once

#include "run/run_context.h"

namespace dcf::app {

// Rolls the run back after a confirmed cancel or a stop and says so in the
// log.
void CancelImport(run::RunContext& context);

} // namespace dcf::app

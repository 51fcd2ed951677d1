#pragma once

#include "run/run_context.h"

namespace dcf::app {

// Compares every filer line of the file with FILERS. A filer of another type
// stops the run; a duplicate of the same type is put to the user, whose No
// stops it. Returns false when the run was stopped (and rolled back).
// Counts the file's lines in run.recordCounter.
bool checkFilers(run::RunContext& context);

} // namespace dcf::app

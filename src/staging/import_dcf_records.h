#pragma once

#include "run/run_context.h"

namespace dcf::staging {

// Stages run.currentLine, split for run.expectedFieldCount fields, as one
// IMPORTTEMP row with status "I". A line that cannot be staged (short,
// holding a NUL byte, refused by the database) is logged with the staging
// block and counted as not imported; the next line stages normally.
// Returns whether the line was staged.
bool ImportDCFRecords(run::RunContext& context);

} // namespace dcf::staging

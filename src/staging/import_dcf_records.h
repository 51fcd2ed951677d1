#pragma once

#include "run/run_context.h"

namespace dcf::staging {

// Stages run.currentLine, split for run.expectedFieldCount fields, as one
// IMPORTTEMP row with status "I". A line that cannot be staged (short,
// holding a NUL byte, refused by the database) is logged with the staging
// block and counted as not imported; the next line stages normally.
// Returns whether the line was staged.
bool ImportDCFRecords(run::RunContext& context);

// Logs run.currentLine, a line holding a NUL byte that is of no staged type
// (a header, a line of no known type), with the same staging block: it is
// never staged, but the file it comes from is damaged.
void refuseLineWithNul(run::RunContext& context);

} // namespace dcf::staging

#pragma once

#include "run/run_context.h"

namespace dcf::names {

// Gives every staged NAME record a new name id of the database, in staging
// order, and rewrites every staged reference to it: field7 of the records
// that name someone there, the filer line's own name (FLR field10), the
// cover sheet's filer and treasurer (FORM field8 and field9, the latter
// marked "T") and a notice's name (CVR2 field8). Each reference is rewritten
// once, from the number in the file to the id in the database, however the
// two overlap. A file number that two NAME records share follows the first.
void ImportNAMES(run::RunContext& context);

} // namespace dcf::names

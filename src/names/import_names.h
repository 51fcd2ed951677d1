#pragma once

#include "run/run_context.h"
#include "staging/import_temp.h"

namespace dcf::names {

// Gives every staged NAME record a new name id of the database, in staging
// order, and rewrites every staged reference to it: field7 of the records
// that name someone there, and the other fields the record-type table lists
// (the filer line's own name, the cover sheet's filer and treasurer, the
// latter marked "T", a notice's name). Each reference is rewritten once,
// from the number in the file to the id in the database, however the two
// overlap. A file number that two NAME records share follows the first.
void ImportNAMES(run::RunContext& context, staging::ImportTemp& importTemp);

} // namespace dcf::names

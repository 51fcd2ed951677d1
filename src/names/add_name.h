#pragma once

#include "names/filer_name_index.h"
#include "names/resolved_name.h"
#include "run/field_limit.h"
#include "run/record_report.h"
#include "run/run_context.h"

#include <string>

namespace dcf::names {

// An out-of-state committee id is at most 9 characters.
inline constexpr run::FieldLimit kOutOfStateIdLimit{"Out Of State PAC ID", 9};

// Adds the name to names under `nameId`, its role and the run's filer, and
// to the index of the filer's names the checks search (`stored`). The
// name first gets its commas back and, when it is an out-of-state
// committee's, its id is cut to 9 characters (a warning on the record); the
// caller keeps the name as added.
//
// A failure is logged with this procedure's own block and counted as
// unexpected; the name is then not added and the caller goes on. A failure
// that ends the run is rethrown. Returns whether the name was added.
bool AddName(run::RunContext& context, FilerNameIndex& stored, run::RecordReport& record,
             const std::string& nameId, Role role, ResolvedName& name);

} // namespace dcf::names

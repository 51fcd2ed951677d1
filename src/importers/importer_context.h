#pragma once

#include "importers/cover_sheets.h"
#include "importers/report_itemization.h"
#include "names/run_names.h"
#include "run/run_context.h"
#include "staging/import_temp.h"

namespace dcf::importers {

// What the importers of one run work with: the run, its IMPORTTEMP, the
// names the checks read, and what the cover sheets keep for the rows after
// them.
struct ImporterContext {
    run::RunContext& run;
    staging::ImportTemp& importTemp;
    names::RunNames names;
    CoverSheets coverSheets;
    ReportItemizations itemizations;
};

} // namespace dcf::importers

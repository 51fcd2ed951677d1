#pragma once

#include "run/run_context.h"

namespace dcf::run {

// A record converted with a correction: counted and shown.
void countImportedWithError(RunContext& context);

// A record that was not converted: counted and shown.
void countNotImported(RunContext& context);

} // namespace dcf::run

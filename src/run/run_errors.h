#pragma once

#include "run/run_context.h"

#include <exception>

namespace dcf::run {

// Called first by every trap that logs a failure and goes on (a line being
// staged, an importer's row): a failure after which the database no longer
// holds the run's transaction is rethrown, and ends the run as failed, since
// every later statement would fail too or, worse, be kept outside the
// transaction. Any other failure returns, to be logged as the record's own.
void rethrowIfRunEnding(RunContext& context, const std::exception& error);

} // namespace dcf::run

#pragma once

#include "run/run_context.h"

#include <exception>
#include <stdexcept>

namespace dcf::run {

// A failure after which no record can be converted soundly (the counters of
// name ids and report numbers are gone): it ends the run as failed, however
// deep in a row it arises.
class RunEndingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Called first by every trap that logs a failure and goes on (a line being
// staged, an importer's row): a failure after which the database no longer
// holds the run's transaction is rethrown, and ends the run as failed, since
// every later statement would fail too or, worse, be kept outside the
// transaction; so is a RunEndingError. Any other failure returns, to be logged as the record's own.
void rethrowIfRunEnding(RunContext& context, const std::exception& error);

} // namespace dcf::run

#pragma once

#include "run/run_context.h"

namespace dcf::run {

// The run's one transaction. Made, it begins the transaction (and throws
// db::DbError when the database cannot); while it lives, context.transaction
// points at it, so that a cancel, a failure and the closing question all end
// the same transaction, each at most once; gone, it rolls back what was not
// saved.
class RunTransaction {
public:
    explicit RunTransaction(RunContext& context) : context_(context), transaction_(context.target) {
        context_.transaction = &transaction_;
    }
    ~RunTransaction() { context_.transaction = nullptr; }
    RunTransaction(const RunTransaction&) = delete;
    RunTransaction& operator=(const RunTransaction&) = delete;

private:
    RunContext& context_;
    db::Transaction transaction_;
};

} // namespace dcf::run

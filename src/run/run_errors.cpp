#include "run/run_errors.h"

#include "db/error.h"

namespace dcf::run {

void rethrowIfRunEnding(RunContext& context, const std::exception& error) {
    if (const auto* ending = dynamic_cast<const RunEndingError*>(&error)) {
        throw *ending;
    }
    const auto* dbError = dynamic_cast<const db::DbError*>(&error);
    if (dbError == nullptr) {
        return;
    }
    if (dbError->endsTransaction()) {
        throw *dbError;
    }
    const db::Transaction* transaction = context.transaction;
    if (transaction != nullptr && transaction->open() && !context.db.transactionIntact()) {
        throw dbError->endingTransaction();
    }
    // The scratch IMPORTTEMP is the run's too: rows staged in it are gone
    // once SQLite has rolled it back by itself (a full disk).
    if (context.scratch != nullptr && !context.scratch->transactionIntact()) {
        throw dbError->endingTransaction();
    }
}

} // namespace dcf::run

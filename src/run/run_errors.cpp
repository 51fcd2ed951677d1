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
    if (transaction == nullptr || !transaction->open()) {
        return;
    }
    // On a server the rows so far live in the scratch, gone once SQLite has
    // rolled it back by itself (a full disk); and a row the server was asked
    // about may have ended the server's transaction.
    if (!context.db().transactionIntact() ||
        (context.scratch != nullptr && !context.target.transactionIntact())) {
        throw dbError->endingTransaction();
    }
}

} // namespace dcf::run

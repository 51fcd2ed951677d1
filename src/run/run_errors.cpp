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
}

} // namespace dcf::run

#include "db/error.h"

namespace dcf::db {

DbError::DbError(std::string sqlState, long nativeCode, std::string message, std::string source)
    : std::runtime_error(message), sqlState_(std::move(sqlState)), nativeCode_(nativeCode),
      message_(std::move(message)), source_(std::move(source)) {}

RunLockBusy::RunLockBusy(const std::string& source) : DbError("HYT00", 0, text, source) {}

DbError DbError::endingTransaction() const {
    DbError ended = *this;
    ended.transactionEnded_ = true;
    return ended;
}

} // namespace dcf::db

#include "db/error.h"

namespace dcf::db {

std::string oneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    bool broken = false;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            broken = true;
            continue;
        }
        if (broken && !line.empty() && line.back() != ' ') {
            line += ' ';
        }
        broken = false;
        line += c;
    }
    return line;
}

DbError::DbError(std::string sqlState, long nativeCode, const std::string& message,
                 const std::string& source)
    : std::runtime_error(oneLine(message)), sqlState_(std::move(sqlState)), nativeCode_(nativeCode),
      message_(oneLine(message)), source_(oneLine(source)) {}

RunLockBusy::RunLockBusy(const std::string& source) : DbError("HYT00", 0, text, source) {}

DbError DbError::endingTransaction() const {
    DbError ended = *this;
    ended.transactionEnded_ = true;
    return ended;
}

} // namespace dcf::db

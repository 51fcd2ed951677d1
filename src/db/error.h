#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace dcf::db {

// The text on one line: each run of line breaks inside it becomes one blank,
// and breaks at its ends go. A driver may report one failure over several
// lines, and every log block and message shows it on one.
std::string oneLine(std::string_view text);

// The one failure type of the database layer. SQLite result codes are mapped
// to the nearest SQLSTATE so that both backends fill the log's "Error #",
// "Error Source" and "Error Description" lines alike.
// The message and source are kept on one line (oneLine).
class DbError : public std::runtime_error {
public:
    DbError(std::string sqlState, long nativeCode, const std::string& message,
            const std::string& source);

    [[nodiscard]] const std::string& sqlState() const { return sqlState_; }
    [[nodiscard]] long nativeCode() const { return nativeCode_; }
    [[nodiscard]] const std::string& message() const { return message_; }
    // Which layer raised it: the driver's name, or "SQLite".
    [[nodiscard]] const std::string& source() const { return source_; }
    // The connection itself is gone (SQLSTATE class 08): no later statement
    // of the run can succeed, so this is never one row's problem.
    [[nodiscard]] bool connectionLost() const { return sqlState_.starts_with("08"); }
    // After this failure the database no longer holds the transaction: the
    // connection is gone, or the database ended the transaction by itself.
    [[nodiscard]] bool endsTransaction() const { return connectionLost() || transactionEnded_; }
    // The same failure, known to have ended the transaction.
    [[nodiscard]] DbError endingTransaction() const;

private:
    std::string sqlState_;
    long nativeCode_;
    std::string message_;
    std::string source_;
    bool transactionEnded_ = false;
};

// Raised when the run lock could not be had within its time limit.
class RunLockBusy : public DbError {
public:
    explicit RunLockBusy(const std::string& source);
    static constexpr const char* text =
        "Another conversion is running on this database. Try again when it has finished.";
};

} // namespace dcf::db

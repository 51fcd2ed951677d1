#pragma once

#include "db/statement.h"
#include "db/text_map.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dcf::db {

enum class Dialect { SQLite, PostgreSQL, Other };

// Sees each row that ColumnValues writes through a connection before it is
// written: a run's scratch database on a server hands the server the rows its
// catalog says the server could refuse, so that they fail where they would
// have failed on the server.
class WriteGuard {
public:
    virtual ~WriteGuard() = default;
    // `sql` is about to run with `values` (for `columns`, "a, b, c") and then
    // `keys` bound; throws what the row's database would throw instead.
    virtual void check(std::string_view table, std::string_view sql, std::string_view columns,
                       const std::vector<Value>& values, const std::vector<Value>& keys) = 0;

protected:
    WriteGuard() = default;
    WriteGuard(const WriteGuard&) = default;
    WriteGuard& operator=(const WriteGuard&) = default;
};

// The one shared connection of the program. Opened from a target:
// "DSN=NAME" (a data source whose driver is the SQLite 3 driver and whose
// Database is a file is opened directly through SQLite), any other ODBC
// connection string (always through ODBC), or a path to a SQLite file.
class Connection {
public:
    virtual ~Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    static std::unique_ptr<Connection> open(const std::string& target);
    // An existing SQLite file, opened directly whatever its path holds.
    static std::unique_ptr<Connection> openSqliteFile(const std::filesystem::path& file);

    // A prepared statement for this SQL text, prepared once and kept for the
    // life of the connection. The same text always yields the same statement.
    Statement& statement(std::string_view sql);
    // A statement of its own, for the rare caller that needs two cursors on
    // the same text at once.
    virtual std::unique_ptr<Statement> prepare(std::string_view sql) = 0;
    // The texts of the kept statements: what a run has prepared so far.
    [[nodiscard]] std::vector<std::string> preparedSql() const;
    // Runs SQL text without parameters (schema scripts, "delete from ...").
    virtual void executeScript(std::string_view sql) = 0;

    virtual void begin() = 0;
    // Refuses (throws) when the database no longer holds the transaction:
    // nothing is ever reported saved that was not.
    virtual void commit() = 0;
    // Also ends a transaction that the database already ended by itself.
    virtual void rollback() = 0;
    [[nodiscard]] virtual bool inTransaction() const = 0;
    // Whether the database still holds the transaction begin() opened. False
    // once the database has ended it by itself: SQLite after a full disk, an
    // I/O error or running out of memory rolls the whole transaction back,
    // and a server may abort it, after which later statements would run
    // outside it. Asked after a statement failed; may run a statement.
    [[nodiscard]] virtual bool transactionIntact() = 0;

    // Takes the database-wide run lock inside the open transaction, waiting
    // at most `timeout` for another run to finish; throws RunLockBusy then.
    // Returns false, without the lock, as soon as `stopWaiting` says so (a
    // cancel during the wait); it is asked about ten times a second.
    virtual bool acquireRunLock(std::chrono::milliseconds timeout,
                                const std::function<bool()>& stopWaiting = {}) = 0;

    [[nodiscard]] virtual Dialect dialect() const = 0;
    // The guard of the rows written through ColumnValues; nullptr for none.
    void guardWrites(WriteGuard* guard) { writeGuard_ = guard; }
    [[nodiscard]] WriteGuard* writeGuard() const { return writeGuard_; }
    // "SQLite" for the native backend, "ODBC" otherwise: shown in tests and
    // in the start-up failure message.
    [[nodiscard]] virtual std::string backendName() const = 0;

protected:
    Connection() = default;
    // Closes the cursors of every kept statement (before commit and rollback).
    void resetStatements();
    // Destroys the kept statements; a backend calls it before it closes.
    void clearStatements();

private:
    TextMap<std::unique_ptr<Statement>> statements_;
    WriteGuard* writeGuard_ = nullptr;
};

// Rolls the transaction back unless commit() was called, so a run that
// leaves its scope by any path without an explicit commit keeps nothing.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    // Rolls back once; later calls do nothing.
    void rollback();
    [[nodiscard]] bool open() const { return open_; }

private:
    Connection& connection_;
    bool open_ = true;
};

} // namespace dcf::db

#pragma once

#include "db/connection.h"

#include <sql.h>

namespace dcf::db {

// Any ODBC data source, through the driver manager.
class OdbcConnection final : public Connection {
public:
    explicit OdbcConnection(const std::string& connectionString);
    ~OdbcConnection() override;

    std::unique_ptr<Statement> prepare(std::string_view sql) override;
    void executeScript(std::string_view sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    [[nodiscard]] bool inTransaction() const override { return inTransaction_; }
    [[nodiscard]] bool transactionIntact() override;
    bool acquireRunLock(std::chrono::milliseconds timeout,
                        const std::function<bool()>& stopWaiting) override;
    [[nodiscard]] Dialect dialect() const override { return dialect_; }
    [[nodiscard]] std::string backendName() const override { return "ODBC"; }

private:
    void endTransaction(SQLSMALLINT completion);
    void executeDirect(const std::string& sql);
    // Leaves a mark in a new transaction by which transactionIntact() knows
    // it again.
    void markTransaction();
    [[nodiscard]] bool markStillThere();

    SQLHDBC dbc_ = SQL_NULL_HDBC;
    std::string driverName_;
    Dialect dialect_ = Dialect::Other;
    bool inTransaction_ = false;
    // The transaction id PostgreSQL gave the open transaction.
    std::string transactionId_;
    // The database has ended the open transaction by itself.
    bool transactionLost_ = false;
};

} // namespace dcf::db

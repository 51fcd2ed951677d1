#pragma once

#include "db/connection.h"

#include <filesystem>

struct sqlite3;

namespace dcf::db {

// The native backend: the same SQLite file the ODBC driver would open, with
// the same transaction semantics, through the SQLite C API.
class SqliteConnection final : public Connection {
public:
    explicit SqliteConnection(const std::filesystem::path& file);
    ~SqliteConnection() override;

    std::unique_ptr<Statement> prepare(std::string_view sql) override;
    void executeScript(std::string_view sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    [[nodiscard]] bool inTransaction() const override;
    [[nodiscard]] bool transactionIntact() override { return inTransaction(); }
    bool acquireRunLock(std::chrono::milliseconds timeout,
                        const std::function<bool()>& stopWaiting) override;
    [[nodiscard]] Dialect dialect() const override { return Dialect::SQLite; }
    [[nodiscard]] std::string backendName() const override { return "SQLite"; }

private:
    void exec(const char* sql);
    sqlite3* db_ = nullptr;
};

} // namespace dcf::db

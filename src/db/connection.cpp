#include "db/connection.h"

#include "db/odbc/odbc_connection.h"
#include "db/sqlite/sqlite_connection.h"
#include "db/target.h"

namespace dcf::db {

std::unique_ptr<Connection> Connection::open(const std::string& target) {
    const OpenPlan plan = planConnection(target);
    if (plan.kind == OpenPlan::Kind::NativeSqlite) {
        return std::make_unique<SqliteConnection>(plan.sqliteFile);
    }
    return std::make_unique<OdbcConnection>(plan.connectionString);
}

std::unique_ptr<Connection> Connection::openSqliteFile(const std::filesystem::path& file) {
    return std::make_unique<SqliteConnection>(file);
}

Statement& Connection::statement(std::string_view sql) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        found = statements_.emplace(std::string(sql), prepare(sql)).first;
    }
    return *found->second;
}

std::vector<std::string> Connection::preparedSql() const {
    std::vector<std::string> texts;
    texts.reserve(statements_.size());
    for (const auto& [sql, statement] : statements_) {
        texts.push_back(sql);
    }
    return texts;
}

void Connection::resetStatements() {
    for (auto& [sql, statement] : statements_) {
        statement->reset();
    }
}

void Connection::clearStatements() {
    statements_.clear();
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.begin();
}

Transaction::~Transaction() {
    if (open_) {
        try {
            connection_.rollback();
        } catch (...) {
            // A destructor cannot report; the connection's own close ends
            // the transaction without keeping anything.
        }
    }
}

void Transaction::commit() {
    connection_.commit();
    open_ = false;
}

void Transaction::rollback() {
    if (open_) {
        open_ = false;
        connection_.rollback();
    }
}

} // namespace dcf::db

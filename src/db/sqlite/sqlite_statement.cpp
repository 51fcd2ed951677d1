#include "db/sqlite/sqlite_statement.h"

#include "db/error.h"
#include "db/sqlite/sqlite_error.h"

#include <sqlite3.h>

namespace dcf::db {

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    const int rc =
        sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        throwSqliteError(db_, rc);
    }
    const int count = sqlite3_column_count(stmt_);
    names_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        names_.emplace_back(sqlite3_column_name(stmt_, i));
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

void SqliteStatement::bind(int index, const Value& value) {
    if (pendingRow_ || onRow_) {
        reset();
    }
    struct Binder {
        sqlite3_stmt* s;
        int i;
        int operator()(Null) const { return sqlite3_bind_null(s, i); }
        int operator()(const std::string& t) const {
            return sqlite3_bind_text64(s, i, t.data(), t.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        int operator()(Currency c) const {
            const std::string t = c.toString();
            return sqlite3_bind_text64(s, i, t.data(), t.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        int operator()(bool b) const { return sqlite3_bind_int(s, i, b ? 1 : 0); }
        int operator()(std::int64_t n) const { return sqlite3_bind_int64(s, i, n); }
    };
    const int rc = std::visit(Binder{stmt_, index}, value);
    if (rc != SQLITE_OK) {
        throwSqliteError(db_, rc);
    }
}

void SqliteStatement::bindText(int index, std::string_view text) {
    if (pendingRow_ || onRow_) {
        reset();
    }
    // Not copied: the caller keeps the text alive until the statement has
    // run. A null pointer would bind SQL NULL; empty text stays empty text.
    const char* data = text.data() != nullptr ? text.data() : "";
    const int rc = sqlite3_bind_text64(stmt_, index, data, text.size(), SQLITE_STATIC, SQLITE_UTF8);
    if (rc != SQLITE_OK) {
        throwSqliteError(db_, rc);
    }
}

void SqliteStatement::execute() {
    reset();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        pendingRow_ = true;
        changes_ = 0;
        return;
    }
    if (rc != SQLITE_DONE) {
        sqlite3_reset(stmt_);
        throwSqliteError(db_, rc);
    }
    changes_ = sqlite3_changes64(db_);
    sqlite3_reset(stmt_);
}

bool SqliteStatement::next() {
    if (pendingRow_) {
        pendingRow_ = false;
        onRow_ = true;
        return true;
    }
    if (!onRow_) {
        return false;
    }
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    onRow_ = false;
    sqlite3_reset(stmt_);
    if (rc != SQLITE_DONE) {
        throwSqliteError(db_, rc);
    }
    return false;
}

void SqliteStatement::reset() {
    pendingRow_ = false;
    onRow_ = false;
    sqlite3_reset(stmt_);
}

const std::string& SqliteStatement::columnName(int index) const {
    return names_.at(static_cast<std::size_t>(index));
}

void SqliteStatement::checkRow(int index) const {
    if (!onRow_) {
        throw DbError("24000", 0, "No current row to read.", "SQLite");
    }
    if (index < 0 || index >= columnCount()) {
        throw DbError("07009", 0, "No column " + std::to_string(index) + " in the result.",
                      "SQLite");
    }
}

Value SqliteStatement::value(int index) {
    checkRow(index);
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL:
        return Null{};
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(stmt_, index));
    default: {
        // Text, and amounts stored as REAL, which SQLite renders with 15
        // significant digits: enough for every amount the tables hold.
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
        const int size = sqlite3_column_bytes(stmt_, index);
        return std::string(data != nullptr ? data : "", static_cast<std::size_t>(size));
    }
    }
}

Statement::Held SqliteStatement::appendText(int index, std::string& out) {
    checkRow(index);
    const int type = sqlite3_column_type(stmt_, index);
    if (type == SQLITE_NULL) {
        return Held::Null;
    }
    // An integer's text is its decimal digits, as toText writes them.
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    const int size = sqlite3_column_bytes(stmt_, index);
    out.append(data != nullptr ? data : "", static_cast<std::size_t>(size));
    return type == SQLITE_INTEGER ? Held::Integer : Held::Other;
}

} // namespace dcf::db

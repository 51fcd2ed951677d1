#include "db/sqlite/sqlite_error.h"

#include "db/error.h"

#include <string>
#include <string_view>

#include <sqlite3.h>

namespace dcf::db {
namespace {

std::string sqlStateFor(int code, std::string_view message) {
    switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
        return "23000";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "HYT00";
    case SQLITE_TOOBIG:
        return "22001";
    case SQLITE_MISMATCH:
        return "22018";
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
        return "08001";
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return "42000";
    case SQLITE_ERROR:
        if (message.starts_with("no such table")) {
            return "42S02";
        }
        if (message.starts_with("no such column")) {
            return "42S22";
        }
        return "42000";
    default:
        return "HY000";
    }
}

// SQLite's own text, and what to do where the reason lies outside the
// program.
std::string withAdvice(int code, const std::string& message) {
    switch (code & 0xff) {
    case SQLITE_READONLY:
        return message + ". The database file can only be read: give this user write permission "
                         "on the file and on its folder.";
    case SQLITE_BUSY:
        return message + ". Another program is using the database file: close it, or let it "
                         "finish, and try again.";
    default:
        return message;
    }
}

} // namespace

void throwSqliteError(sqlite3* db, int code) {
    throwSqliteError(code, db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

void throwSqliteError(int code, const std::string& message) {
    throw DbError(sqlStateFor(code, message), code, withAdvice(code, message), "SQLite");
}

} // namespace dcf::db

#pragma once

#include <string>

struct sqlite3;

namespace dcf::db {

// Throws DbError for a failed SQLite call, mapping the result code to the
// nearest SQLSTATE.
[[noreturn]] void throwSqliteError(sqlite3* db, int code);
// The same with the message SQLite gave with the result code.
[[noreturn]] void throwSqliteError(int code, const std::string& message);

} // namespace dcf::db

#pragma once

#include "db/connection.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dcf::db {

// The SQL that differs between the backends; everything else runs unchanged
// on SQLite and PostgreSQL.

// An expression that upper-cases the ASCII letters of `column` and leaves
// every other character alone, the same on every backend: SQLite's upper()
// does so, PostgreSQL's follows the locale.
std::string upperAsciiSql(Dialect dialect, std::string_view column);

// The key a PostgreSQL table's serial column hands out next, taken so that no
// other row gets it.
std::int64_t takeNextKey(Connection& connection, std::string_view table, std::string_view column);

// The next row inserted into the table gets a key after `lastKey`: a
// PostgreSQL serial column, or SQLite's counter of an AUTOINCREMENT key.
void continueKeysAfter(Connection& connection, std::string_view table, std::string_view column,
                       std::int64_t lastKey);

} // namespace dcf::db

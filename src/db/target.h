#pragma once

#include <filesystem>
#include <string>

namespace dcf::db {

// How a connection target is opened.
struct OpenPlan {
    enum class Kind { NativeSqlite, Odbc } kind = Kind::Odbc;
    std::filesystem::path sqliteFile; // NativeSqlite
    std::string connectionString;     // Odbc
};

// "DSN=NAME" of a data source whose driver is the SQLite 3 ODBC driver and
// whose Database is a file opens that file natively; "Driver=..." and every
// other connection string go through ODBC; anything without "=" is a path
// to a SQLite file.
OpenPlan planConnection(const std::string& target);

} // namespace dcf::db

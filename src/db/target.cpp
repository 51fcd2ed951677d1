#include "db/target.h"

#include "db/ascii_case.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <odbcinst.h>

namespace dcf::db {
namespace {

std::string trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

// The value of KEY in "KEY=value;KEY2=value2", keys compared without case.
std::optional<std::string> attribute(const std::string& connectionString, std::string_view key) {
    std::size_t start = 0;
    while (start <= connectionString.size()) {
        const std::size_t end =
            std::min(connectionString.find(';', start), connectionString.size());
        const std::string part = connectionString.substr(start, end - start);
        const auto eq = part.find('=');
        if (eq != std::string::npos && equalsIgnoringAsciiCase(trim(part.substr(0, eq)), key)) {
            return trim(part.substr(eq + 1));
        }
        start = end + 1;
    }
    return std::nullopt;
}

// One value of a data source from the ODBC ini files (user first, then system).
std::string dsnValue(const std::string& dsn, const char* key) {
    std::vector<char> buffer(4096, '\0');
    const int n = SQLGetPrivateProfileString(dsn.c_str(), key, "", buffer.data(),
                                             static_cast<int>(buffer.size()), "odbc.ini");
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

// A driver entry names the SQLite 3 driver either by its registered name or
// by the path of its library.
bool isSqlite3Driver(const std::string& driver) {
    std::string library = driver;
    if (driver.find('/') == std::string::npos) {
        std::vector<char> buffer(4096, '\0');
        const int n = SQLGetPrivateProfileString(driver.c_str(), "Driver", "", buffer.data(),
                                                 static_cast<int>(buffer.size()), "odbcinst.ini");
        library = n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : driver;
    }
    const std::string file = lowerAscii(std::filesystem::path(library).filename().string());
    return file.find("sqlite3odbc") != std::string::npos || lowerAscii(driver) == "sqlite3";
}

} // namespace

OpenPlan planConnection(const std::string& target) {
    OpenPlan plan;
    if (target.find('=') == std::string::npos) {
        plan.kind = OpenPlan::Kind::NativeSqlite;
        plan.sqliteFile = target;
        return plan;
    }
    plan.connectionString = target;
    const auto dsn = attribute(target, "DSN");
    if (!dsn || attribute(target, "Driver")) {
        return plan;
    }
    const std::string driver = dsnValue(*dsn, "Driver");
    const std::string database = dsnValue(*dsn, "Database");
    if (!driver.empty() && !database.empty() && isSqlite3Driver(driver) && database != ":memory:") {
        plan.kind = OpenPlan::Kind::NativeSqlite;
        plan.sqliteFile = database;
    }
    return plan;
}

} // namespace dcf::db

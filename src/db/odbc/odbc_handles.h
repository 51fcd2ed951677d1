#pragma once

#include <string>

#include <sql.h>
#include <sqlext.h>

namespace dcf::db {

// Throws DbError with the first diagnostic record of a handle; `source` is
// the driver's name, `what` says what was being done when the call failed.
[[noreturn]] void throwOdbcError(SQLSMALLINT handleType, SQLHANDLE handle,
                                 const std::string& source, const std::string& what);

// Like throwOdbcError, but when the connection has died the error says so
// with SQLSTATE 08S01, whatever the driver reported for the statement.
[[noreturn]] void throwStatementError(SQLHSTMT stmt, SQLHDBC dbc, const std::string& source,
                                      const std::string& what);

// True when the driver knows its connection to the server is gone.
bool connectionDead(SQLHDBC dbc);

// Checks an ODBC return code; SQL_SUCCESS_WITH_INFO and SQL_NO_DATA pass.
inline void checkOdbc(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle,
                      const std::string& source, const char* what) {
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_NO_DATA) {
        throwOdbcError(handleType, handle, source, what);
    }
}

// UTF-8 <-> the driver manager's 16-bit wide characters.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(const SQLWCHAR* text, std::size_t length);

} // namespace dcf::db

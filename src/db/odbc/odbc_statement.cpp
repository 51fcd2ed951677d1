#include "db/odbc/odbc_statement.h"

#include "db/error.h"
#include "db/odbc/odbc_handles.h"

#include <array>

#include <sqlext.h>

namespace dcf::db {

OdbcStatement::OdbcStatement(SQLHDBC dbc, std::string driverName, std::string_view sql)
    : dbc_(dbc), driverName_(std::move(driverName)), sql_(sql) {
    checkOdbc(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt_), SQL_HANDLE_DBC, dbc, driverName_,
              "allocating a statement");
    const SQLRETURN rc = SQLPrepare(stmt_, reinterpret_cast<SQLCHAR*>(sql_.data()),
                                    static_cast<SQLINTEGER>(sql_.size()));
    if (!SQL_SUCCEEDED(rc)) {
        try {
            throwStatementError(stmt_, dbc_, driverName_, "preparing a statement");
        } catch (...) {
            SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
            throw;
        }
    }
    SQLSMALLINT count = 0;
    if (SQL_SUCCEEDED(SQLNumParams(stmt_, &count)) && count > 0) {
        parameters_.resize(static_cast<std::size_t>(count));
    }
    buffer_.resize(4096);
}

OdbcStatement::~OdbcStatement() {
    SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
}

void OdbcStatement::bind(int index, const Value& value) {
    if (index < 1 || index > static_cast<int>(parameters_.size())) {
        throw DbError("07009", 0, "No parameter " + std::to_string(index) + " in: " + sql_,
                      driverName_);
    }
    reset();
    Parameter& p = parameters_[static_cast<std::size_t>(index - 1)];
    const auto number = static_cast<SQLUSMALLINT>(index);
    SQLRETURN rc = SQL_SUCCESS;
    if (std::holds_alternative<Null>(value)) {
        p.indicator = SQL_NULL_DATA;
        rc = SQLBindParameter(stmt_, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0,
                              nullptr, 0, &p.indicator);
    } else if (const auto* s = std::get_if<std::string>(&value)) {
        bindText(index, *s);
        return;
    } else if (const auto* c = std::get_if<Currency>(&value)) {
        p.narrow = c->toString();
        p.indicator = static_cast<SQLLEN>(p.narrow.size());
        rc = SQLBindParameter(stmt_, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_DECIMAL, 19, 4,
                              p.narrow.data(), p.indicator, &p.indicator);
    } else if (const auto* b = std::get_if<bool>(&value)) {
        p.bit = *b ? 1 : 0;
        p.indicator = 0;
        rc = SQLBindParameter(stmt_, number, SQL_PARAM_INPUT, SQL_C_BIT, SQL_BIT, 1, 0, &p.bit, 0,
                              &p.indicator);
    } else {
        p.integer = std::get<std::int64_t>(value);
        p.indicator = 0;
        rc = SQLBindParameter(stmt_, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 19, 0,
                              &p.integer, 0, &p.indicator);
    }
    checkOdbc(rc, SQL_HANDLE_STMT, stmt_, driverName_, "binding a parameter");
}

void OdbcStatement::bindText(int index, std::string_view text) {
    if (index < 1 || index > static_cast<int>(parameters_.size())) {
        throw DbError("07009", 0, "No parameter " + std::to_string(index) + " in: " + sql_,
                      driverName_);
    }
    reset();
    Parameter& p = parameters_[static_cast<std::size_t>(index - 1)];
    p.wide = toUtf16(text);
    p.indicator = static_cast<SQLLEN>(p.wide.size() * sizeof(SQLWCHAR));
    checkOdbc(SQLBindParameter(stmt_, static_cast<SQLUSMALLINT>(index), SQL_PARAM_INPUT,
                               SQL_C_WCHAR, SQL_WVARCHAR, std::max<SQLULEN>(p.wide.size(), 1), 0,
                               p.wide.data(), p.indicator, &p.indicator),
              SQL_HANDLE_STMT, stmt_, driverName_, "binding a parameter");
}

void OdbcStatement::execute() {
    reset();
    const SQLRETURN rc = SQLExecute(stmt_);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        throwStatementError(stmt_, dbc_, driverName_, "running a statement");
    }
    SQLSMALLINT columns = 0;
    checkOdbc(SQLNumResultCols(stmt_, &columns), SQL_HANDLE_STMT, stmt_, driverName_,
              "reading a result");
    if (columns > 0) {
        cursorOpen_ = true;
        rowsAffected_ = 0;
        if (names_.empty()) {
            describeColumns();
        }
        return;
    }
    SQLLEN count = 0;
    rowsAffected_ =
        (rc != SQL_NO_DATA && SQL_SUCCEEDED(SQLRowCount(stmt_, &count)) && count > 0) ? count : 0;
}

void OdbcStatement::describeColumns() {
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt_, &columns);
    std::array<SQLCHAR, 256> name{};
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(columns); ++i) {
        SQLSMALLINT length = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        checkOdbc(SQLDescribeCol(stmt_, i, name.data(), static_cast<SQLSMALLINT>(name.size()),
                                 &length, &type, &size, &digits, &nullable),
                  SQL_HANDLE_STMT, stmt_, driverName_, "describing a result");
        names_.emplace_back(reinterpret_cast<const char*>(name.data()));
    }
}

bool OdbcStatement::next() {
    if (!cursorOpen_) {
        return false;
    }
    const SQLRETURN rc = SQLFetch(stmt_);
    if (rc == SQL_NO_DATA) {
        reset();
        return false;
    }
    checkOdbc(rc, SQL_HANDLE_STMT, stmt_, driverName_, "fetching a row");
    fetchRow();
    onRow_ = true;
    return true;
}

// Every column is read in order right after the fetch: some drivers only
// allow SQLGetData in ascending column order.
void OdbcStatement::fetchRow() {
    row_.clear();
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(names_.size()); ++i) {
        row_.push_back(readColumn(i));
    }
}

Value OdbcStatement::readColumn(SQLUSMALLINT column) {
    std::u16string collected;
    // A value longer than the buffer is read on in one piece of the size the
    // driver reports: the SQLite driver converts the whole value again on
    // every call, so reading it a buffer at a time takes time that grows with
    // the square of its length.
    std::vector<SQLWCHAR> rest;
    SQLWCHAR* into = buffer_.data();
    std::size_t room = buffer_.size();
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt_, column, SQL_C_WCHAR, into,
                                        static_cast<SQLLEN>(room * sizeof(SQLWCHAR)), &indicator);
        if (rc == SQL_NO_DATA) {
            break;
        }
        checkOdbc(rc, SQL_HANDLE_STMT, stmt_, driverName_, "reading a column");
        if (indicator == SQL_NULL_DATA) {
            return Null{};
        }
        const std::size_t capacity = room - 1; // one place for the terminator
        const bool truncated = indicator == SQL_NO_TOTAL ||
                               static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR) > capacity;
        const std::size_t chars =
            truncated ? capacity : static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR);
        collected.append(reinterpret_cast<const char16_t*>(into), chars);
        if (!truncated || rc == SQL_SUCCESS) {
            break;
        }
        // What is left, or twice as much again when the driver cannot say.
        room = (indicator == SQL_NO_TOTAL
                    ? 2 * collected.size()
                    : static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR) - chars) +
               1;
        rest.resize(room);
        into = rest.data();
    }
    return toUtf8(reinterpret_cast<const SQLWCHAR*>(collected.data()), collected.size());
}

void OdbcStatement::reset() {
    if (cursorOpen_) {
        SQLFreeStmt(stmt_, SQL_CLOSE);
    }
    cursorOpen_ = false;
    onRow_ = false;
}

const std::string& OdbcStatement::columnName(int index) const {
    return names_.at(static_cast<std::size_t>(index));
}

Value OdbcStatement::value(int index) {
    if (!onRow_) {
        throw DbError("24000", 0, "No current row to read.", driverName_);
    }
    if (index < 0 || index >= static_cast<int>(row_.size())) {
        throw DbError("07009", 0, "No column " + std::to_string(index) + " in the result.",
                      driverName_);
    }
    return row_[static_cast<std::size_t>(index)];
}

} // namespace dcf::db

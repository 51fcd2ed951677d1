#pragma once

#include "db/connection.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace dcf::db {

// A query's rows, read while the cursor lives. Its statement is closed when
// the cursor goes, however the reading ends, so that no statement keeps a
// lock or a half-read result after an error.
class Cursor {
public:
    template <typename... Args>
    Cursor(Connection& connection, std::string_view sql, const Args&... args)
        : statement_(connection.statement(sql)) {
        try {
            statement_.run(args...);
        } catch (...) {
            statement_.reset();
            throw;
        }
    }
    ~Cursor() { statement_.reset(); }
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    // Steps to the next row; false when there is none.
    bool next() { return statement_.next(); }
    // The current row's columns.
    Statement& row() { return statement_; }

private:
    Statement& statement_;
};

// Whether the query finds a row.
template <typename... Args>
bool rowExists(Connection& connection, std::string_view sql, const Args&... args) {
    Cursor rows(connection, sql, args...);
    return rows.next();
}

// The first row's first column as a whole number, or nothing without a row.
template <typename... Args>
std::optional<std::int64_t> firstInteger(Connection& connection, std::string_view sql,
                                         const Args&... args) {
    Cursor rows(connection, sql, args...);
    if (!rows.next()) {
        return std::nullopt;
    }
    return rows.row().integer(rows.row().columnName(0));
}

} // namespace dcf::db

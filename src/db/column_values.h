#pragma once

#include "db/connection.h"

#include <string>
#include <string_view>
#include <vector>

namespace dcf::db {

// The values of one row, each set beside its column, written by one insert
// or update whose SQL text the columns make.
class ColumnValues {
public:
    ColumnValues& set(std::string_view column, Value value);

    // "insert into TABLE (COLUMN, ...) values (?, ...)".
    void insertInto(Connection& connection, std::string_view table) const;
    // "update TABLE set COLUMN = ?, ... where WHERE"; `where` holds a ? for
    // each of `keys`, bound after the values.
    void update(Connection& connection, std::string_view table, std::string_view where,
                const Values& keys) const;

private:
    void bindAndRun(Statement& statement, const Values& after) const;

    std::vector<std::string> columns_;
    Values values_;
};

} // namespace dcf::db

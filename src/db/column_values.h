#pragma once

#include "db/connection.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dcf::db {

// The values of one row, each set beside its column, written by one insert
// or update whose SQL text the columns make.
class ColumnValues {
public:
    // Room for the widest rows the conversion writes, so that a row is built
    // without growing its buffers.
    ColumnValues() {
        columns_.reserve(kTypicalColumns * 12);
        values_.reserve(kTypicalColumns);
    }

    template <typename T> ColumnValues& set(std::string_view column, T&& value) {
        return set({}, column, std::forward<T>(value));
    }
    // The column named by a prefix and a name: ("ctrib_", "naml").
    template <typename T>
    ColumnValues& set(std::string_view prefix, std::string_view column, T&& value) {
        addColumn(prefix, column);
        values_.emplace_back(std::forward<T>(value));
        return *this;
    }

    // "insert into TABLE (COLUMN, ...) values (?, ...)".
    void insertInto(Connection& connection, std::string_view table) const;
    // "update TABLE set COLUMN = ?, ... where WHERE"; `where` holds a ? for
    // each of `keys`, bound after the values.
    void update(Connection& connection, std::string_view table, std::string_view where,
                const Values& keys) const;

private:
    void addColumn(std::string_view prefix, std::string_view column);
    void bindAndRun(Statement& statement, const Values& after) const;

    static constexpr std::size_t kTypicalColumns = 40;

    // The columns as the statement lists them: "a, b, c".
    std::string columns_;
    Values values_;
};

} // namespace dcf::db

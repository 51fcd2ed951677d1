#include "db/column_values.h"

#include <algorithm>
#include <utility>
#include <variant>

namespace dcf::db {

void ColumnValues::addColumn(std::string_view prefix, std::string_view column) {
    if (!values_.empty()) {
        columns_ += ", ";
    }
    columns_ += prefix;
    columns_ += column;
}

void ColumnValues::insertInto(Connection& connection, std::string_view table) const {
    std::string sql = "insert into ";
    sql.reserve(columns_.size() + 3 * values_.size() + table.size() + 32);
    sql += table;
    sql += " (";
    sql += columns_;
    sql += ") values (";
    for (std::size_t i = 0; i < values_.size(); ++i) {
        sql += i == 0 ? "?" : ", ?";
    }
    sql += ")";
    if (WriteGuard* guard = connection.writeGuard()) {
        guard->check(table, sql, columns_, values_, {});
    }
    bindAndRun(connection.statement(sql), {});
}

void ColumnValues::update(Connection& connection, std::string_view table, std::string_view where,
                          const Values& keys) const {
    std::string sql = "update " + std::string(table) + " set ";
    std::size_t start = 0;
    while (start < columns_.size()) {
        const std::size_t end = std::min(columns_.find(", ", start), columns_.size());
        sql += std::string_view(columns_).substr(start, end - start);
        sql += end < columns_.size() ? " = ?, " : " = ?";
        start = end + 2;
    }
    sql += " where ";
    sql += where;
    if (WriteGuard* guard = connection.writeGuard()) {
        guard->check(table, sql, columns_, values_, keys);
    }
    bindAndRun(connection.statement(sql), keys);
}

void ColumnValues::bindAndRun(Statement& statement, const Values& after) const {
    int index = 0;
    for (const Value& value : values_) {
        // The values outlive the statement's run: text is bound in place.
        if (const auto* text = std::get_if<std::string>(&value)) {
            statement.bindText(++index, *text);
        } else {
            statement.bind(++index, value);
        }
    }
    for (const Value& value : after) {
        statement.bind(++index, value);
    }
    statement.execute();
}

} // namespace dcf::db

#include "db/column_values.h"

#include <utility>

namespace dcf::db {

ColumnValues& ColumnValues::set(std::string_view column, Value value) {
    columns_.emplace_back(column);
    values_.push_back(std::move(value));
    return *this;
}

void ColumnValues::insertInto(Connection& connection, std::string_view table) const {
    std::string sql = "insert into " + std::string(table) + " (";
    std::string marks;
    for (const std::string& column : columns_) {
        sql += marks.empty() ? column : ", " + column;
        marks += marks.empty() ? "?" : ", ?";
    }
    sql += ") values (" + marks + ")";
    bindAndRun(connection.statement(sql), {});
}

void ColumnValues::update(Connection& connection, std::string_view table, std::string_view where,
                          const Values& keys) const {
    std::string sql = "update " + std::string(table) + " set ";
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        sql += (i == 0 ? "" : ", ") + columns_[i] + " = ?";
    }
    sql += " where ";
    sql += where;
    bindAndRun(connection.statement(sql), keys);
}

void ColumnValues::bindAndRun(Statement& statement, const Values& after) const {
    int index = 0;
    for (const Value& value : values_) {
        statement.bind(++index, value);
    }
    for (const Value& value : after) {
        statement.bind(++index, value);
    }
    statement.execute();
}

} // namespace dcf::db

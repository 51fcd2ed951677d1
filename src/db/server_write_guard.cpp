#include "db/server_write_guard.h"

namespace dcf::db {

const std::vector<const ServerColumn*>& ServerWriteGuard::columnsOf(std::string_view table,
                                                                    std::string_view sql,
                                                                    std::string_view columns) {
    auto found = bySql_.find(sql);
    if (found != bySql_.end()) {
        return found->second;
    }
    std::vector<const ServerColumn*> known;
    const ServerTable* serverTable = catalog_.table(table);
    std::size_t start = 0;
    while (start < columns.size()) {
        const std::size_t end = std::min(columns.find(", ", start), columns.size());
        const std::string_view name = columns.substr(start, end - start);
        known.push_back(serverTable != nullptr ? serverTable->column(name) : nullptr);
        start = end + 2;
    }
    return bySql_.emplace(std::string(sql), std::move(known)).first->second;
}

void ServerWriteGuard::check(std::string_view table, std::string_view sql, std::string_view columns,
                             const std::vector<Value>& values, const std::vector<Value>& keys) {
    const std::vector<const ServerColumn*>& known = columnsOf(table, sql, columns);
    for (std::size_t i = 0; i < values.size() && i < known.size(); ++i) {
        if (known[i] != nullptr && ServerCatalog::mayRefuse(*known[i], values[i])) {
            probe(table, sql, values, keys);
            return;
        }
    }
}

void ServerWriteGuard::probe(std::string_view table, std::string_view sql,
                             const std::vector<Value>& values, const std::vector<Value>& keys) {
    ++probes_;
    // An update runs on the server for real: the run writes the same values
    // there again at the end. An insert is taken back by the row's place;
    // the driver's own savepoints leave no room for one of the run's.
    const bool update = sql.starts_with("update ");
    Statement& statement =
        server_.statement(update ? std::string(sql) : std::string(sql) + " returning ctid");
    int index = 0;
    for (const Value& value : values) {
        statement.bind(++index, value);
    }
    for (const Value& value : keys) {
        statement.bind(++index, value);
    }
    statement.execute();
    std::vector<std::string> places;
    while (!update && statement.next()) {
        places.push_back(statement.text(statement.columnName(0)));
    }
    statement.reset();
    for (const std::string& place : places) {
        server_.statement("delete from " + std::string(table) + " where ctid = cast(? as tid)")
            .run(place);
    }
}

} // namespace dcf::db

#include "db/backend_sql.h"

#include "db/cursor.h"

#include <stdexcept>

namespace dcf::db {
namespace {

[[noreturn]] void unsupported(const char* what, const Connection& connection) {
    throw std::logic_error(std::string(what) + " is not written for the " +
                           connection.backendName() + " backend.");
}

} // namespace

std::string upperAsciiSql(Dialect dialect, std::string_view column) {
    if (dialect == Dialect::PostgreSQL) {
        return "translate(" + std::string(column) +
               ", 'abcdefghijklmnopqrstuvwxyz', 'ABCDEFGHIJKLMNOPQRSTUVWXYZ')";
    }
    return "upper(" + std::string(column) + ")";
}

std::int64_t takeNextKey(Connection& connection, std::string_view table, std::string_view column) {
    if (connection.dialect() != Dialect::PostgreSQL) {
        unsupported("Taking a serial key", connection);
    }
    const std::optional<std::int64_t> key =
        firstInteger(connection, "select nextval(pg_get_serial_sequence(?, ?)) as next_key",
                     std::string(table), std::string(column));
    if (!key) {
        throw std::runtime_error("The database did not hand out a key of " + std::string(table) +
                                 ".");
    }
    return *key;
}

void continueKeysAfter(Connection& connection, std::string_view table, std::string_view column,
                       std::int64_t lastKey) {
    const std::string name(table);
    switch (connection.dialect()) {
    case Dialect::PostgreSQL: {
        Cursor moved(connection, "select setval(pg_get_serial_sequence(?, ?), ?) as last_key", name,
                     std::string(column), lastKey);
        while (moved.next()) {
        }
        return;
    }
    case Dialect::SQLite:
        // One AUTOINCREMENT key per table: its counter is the table's row.
        connection.statement("delete from sqlite_sequence where name = ?").run(name);
        connection.statement("insert into sqlite_sequence (name, seq) values (?, ?)")
            .run(name, lastKey);
        return;
    case Dialect::Other:
        break;
    }
    unsupported("Moving a key counter", connection);
}

} // namespace dcf::db

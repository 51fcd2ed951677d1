#pragma once

#include "db/connection.h"
#include "db/value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::db {

// What a server column holds and refuses, as its catalog says.
struct ServerColumn {
    enum class Kind { Text, Integer, Boolean, Numeric, Other };
    std::string name; // lower case, as the server keeps it
    Kind kind = Kind::Text;
    // The server's name of the type, as a cast takes it: "text", "numeric".
    std::string type = "text";
    // The most characters a text column takes; nothing when unlimited.
    std::optional<std::int64_t> maxChars;
    // Digits in all and after the point of a numeric column; nothing when
    // the column sets no precision.
    std::optional<std::int64_t> precision;
    std::int64_t scale = 0;
    // The largest value an integer column holds.
    std::int64_t largest = 0;
    bool notNull = false;
};

struct ServerTable {
    std::string name; // lower case
    std::vector<ServerColumn> columns;

    [[nodiscard]] const ServerColumn* column(std::string_view name) const;
    // "a, b, c": the columns in the server's order, as statements list them.
    [[nodiscard]] std::string columnList() const;
};

// The columns of the server's tables that a conversion writes, read once
// from its catalog, so that a row written to the run's scratch database is
// checked against what the server would refuse, and the scratch keeps each
// value as the server will take it.
class ServerCatalog {
public:
    // One query for all of `tables` (any case). A table the server lacks is
    // left out.
    static ServerCatalog read(Connection& server, const std::vector<std::string>& tables);
    // A catalog made by hand (tests).
    explicit ServerCatalog(std::vector<ServerTable> tables);

    [[nodiscard]] const ServerTable* table(std::string_view name) const;
    [[nodiscard]] const std::vector<ServerTable>& tables() const { return tables_; }

    // Whether the server could refuse `value` in `column`: text wider than
    // the column, null in a NOT NULL column, a number past the column's
    // precision, text in a column of a type the server parses.
    [[nodiscard]] static bool mayRefuse(const ServerColumn& column, const Value& value);
    // The scratch's value as the server column takes it: amounts as
    // Currency, flags as booleans, counters as integers, the rest as text.
    [[nodiscard]] static Value forServer(const ServerColumn& column, Value scratch);
    // "create table NAME (...)" for the scratch: text and integer columns with
    // SQLite's affinities, as the embedded schema declares them; numeric
    // columns without one, so that an amount keeps its exact text.
    [[nodiscard]] static std::string scratchTableSql(const ServerTable& table);

private:
    std::vector<ServerTable> tables_;
};

} // namespace dcf::db

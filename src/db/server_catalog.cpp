#include "db/server_catalog.h"

#include "db/ascii_case.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <utility>

namespace dcf::db {
namespace {

std::optional<std::int64_t> number(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

ServerColumn::Kind kindOf(const std::string& dataType) {
    using Kind = ServerColumn::Kind;
    if (dataType == "text" || dataType == "character varying" || dataType == "character") {
        return Kind::Text;
    }
    if (dataType == "integer" || dataType == "bigint" || dataType == "smallint") {
        return Kind::Integer;
    }
    if (dataType == "boolean") {
        return Kind::Boolean;
    }
    if (dataType == "numeric") {
        return Kind::Numeric;
    }
    return Kind::Other;
}

// Characters, not bytes: what a server's width counts.
std::int64_t characters(std::string_view text) {
    std::int64_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U ? 1 : 0;
    }
    return count;
}

std::int64_t powerOfTen(std::int64_t exponent) {
    std::int64_t power = 1;
    for (std::int64_t i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

// An amount the column's precision may not hold once rounded to its scale.
bool numericMayOverflow(const ServerColumn& column, Currency amount) {
    if (!column.precision) {
        return false;
    }
    // The limit in ten-thousandths: 10^(precision - scale + 4).
    const std::int64_t digits = *column.precision - column.scale + 4;
    if (digits > 18) {
        return false;
    }
    const std::int64_t limit = powerOfTen(digits);
    const std::int64_t rounding = column.scale >= 4 ? 1 : powerOfTen(4 - column.scale);
    const std::int64_t units = amount.tenThousandths();
    if (units == std::numeric_limits<std::int64_t>::min()) {
        return true;
    }
    return std::abs(units) + rounding >= limit;
}

bool integerMayOverflow(const ServerColumn& column, std::int64_t value) {
    return value > column.largest || value < -column.largest - 1;
}

bool textMayRefuse(const ServerColumn& column, const std::string& text) {
    switch (column.kind) {
    case ServerColumn::Kind::Text:
        return column.maxChars && characters(text) > *column.maxChars;
    case ServerColumn::Kind::Integer: {
        const std::optional<std::int64_t> value = number(text);
        return !value || integerMayOverflow(column, *value);
    }
    case ServerColumn::Kind::Numeric: {
        const std::optional<Currency> amount = Currency::parse(text);
        return !amount || numericMayOverflow(column, *amount);
    }
    case ServerColumn::Kind::Boolean:
    case ServerColumn::Kind::Other:
        return true;
    }
    return true;
}

} // namespace

const ServerColumn* ServerTable::column(std::string_view wanted) const {
    for (const ServerColumn& each : columns) {
        if (equalsIgnoringAsciiCase(each.name, wanted)) {
            return &each;
        }
    }
    return nullptr;
}

std::string ServerTable::columnList() const {
    std::string list;
    for (const ServerColumn& each : columns) {
        list += list.empty() ? each.name : ", " + each.name;
    }
    return list;
}

ServerCatalog::ServerCatalog(std::vector<ServerTable> tables) : tables_(std::move(tables)) {}

ServerCatalog ServerCatalog::read(Connection& server, const std::vector<std::string>& tables) {
    std::string sql =
        "select lower(table_name) as table_name, lower(column_name) as column_name, "
        "data_type, udt_name, character_maximum_length, numeric_precision, numeric_scale, "
        "is_nullable from information_schema.columns where table_schema = "
        "current_schema() and lower(table_name) in (";
    Values names;
    for (const std::string& table : tables) {
        sql += names.empty() ? "?" : ", ?";
        names.emplace_back(lowerAscii(table));
    }
    sql += ") order by table_name, ordinal_position";
    std::vector<ServerTable> read;
    // A statement of its own, as the catalog's columns are read each run.
    const std::unique_ptr<Statement> rows = server.prepare(sql);
    rows->run(names);
    while (rows->next()) {
        Statement& row = *rows;
        const std::string table = row.text("table_name");
        if (read.empty() || read.back().name != table) {
            read.push_back({table, {}});
        }
        ServerColumn column;
        column.name = row.text("column_name");
        const std::string dataType = row.text("data_type");
        column.kind = kindOf(dataType);
        column.type = row.text("udt_name");
        column.notNull = row.text("is_nullable") == "NO";
        if (column.kind == ServerColumn::Kind::Text) {
            column.maxChars = number(row.text("character_maximum_length"));
        } else if (column.kind == ServerColumn::Kind::Numeric) {
            column.precision = number(row.text("numeric_precision"));
            column.scale = number(row.text("numeric_scale")).value_or(0);
        } else if (column.kind == ServerColumn::Kind::Integer) {
            column.largest = dataType == "smallint"  ? 32767
                             : dataType == "integer" ? 2147483647
                                                     : std::numeric_limits<std::int64_t>::max();
        }
        read.back().columns.push_back(std::move(column));
    }
    rows->reset();
    return ServerCatalog(std::move(read));
}

const ServerTable* ServerCatalog::table(std::string_view name) const {
    for (const ServerTable& each : tables_) {
        if (equalsIgnoringAsciiCase(each.name, name)) {
            return &each;
        }
    }
    return nullptr;
}

bool ServerCatalog::mayRefuse(const ServerColumn& column, const Value& value) {
    using Kind = ServerColumn::Kind;
    if (std::holds_alternative<Null>(value)) {
        return column.notNull;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return textMayRefuse(column, *text);
    }
    if (const auto* amount = std::get_if<Currency>(&value)) {
        return column.kind == Kind::Numeric ? numericMayOverflow(column, *amount)
                                            : textMayRefuse(column, amount->toString());
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return column.kind == Kind::Integer ? integerMayOverflow(column, *integer)
                                            : textMayRefuse(column, std::to_string(*integer));
    }
    return column.kind != Kind::Boolean && column.kind != Kind::Integer &&
           column.kind != Kind::Text;
}

Value ServerCatalog::forServer(const ServerColumn& column, Value scratch) {
    using Kind = ServerColumn::Kind;
    if (const auto* integer = std::get_if<std::int64_t>(&scratch)) {
        switch (column.kind) {
        case Kind::Integer:
            return scratch;
        case Kind::Boolean:
            return Value(*integer != 0);
        case Kind::Numeric:
            if (std::abs(*integer) < std::numeric_limits<std::int64_t>::max() / 10000) {
                return Value(Currency::fromTenThousandths(*integer * 10000));
            }
            return Value(std::to_string(*integer));
        case Kind::Text:
        case Kind::Other:
            return Value(std::to_string(*integer));
        }
    }
    if (const auto* text = std::get_if<std::string>(&scratch)) {
        if (column.kind == Kind::Numeric) {
            if (const std::optional<Currency> amount = Currency::parse(*text)) {
                return Value(*amount);
            }
        } else if (column.kind == Kind::Integer) {
            if (const std::optional<std::int64_t> value = number(*text)) {
                return Value(*value);
            }
        }
    }
    return scratch;
}

std::string ServerCatalog::scratchTableSql(const ServerTable& table) {
    using Kind = ServerColumn::Kind;
    std::string sql = "create table \"" + table.name + "\" (";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const ServerColumn& column = table.columns[i];
        sql += (i == 0 ? "\"" : ", \"") + column.name + "\"";
        if (column.kind == Kind::Integer || column.kind == Kind::Boolean) {
            sql += " INTEGER";
        } else if (column.kind != Kind::Numeric) {
            sql += " TEXT";
        }
    }
    return sql + ")";
}

} // namespace dcf::db

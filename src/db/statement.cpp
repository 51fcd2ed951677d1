#include "db/statement.h"

#include "db/ascii_case.h"
#include "db/error.h"

#include <limits>

namespace dcf::db {

Statement::Held Statement::appendText(int index, std::string& out) {
    const Value read = value(index);
    if (std::holds_alternative<Null>(read)) {
        return Held::Null;
    }
    out += toText(read);
    return std::holds_alternative<std::int64_t>(read) ? Held::Integer : Held::Other;
}

int Statement::columnIndex(std::string_view name) const {
    const int count = columnCount();
    // Columns are mostly read in the order they were selected: the one after
    // the last found is tried first.
    if (nextColumn_ < count && equalsIgnoringAsciiCase(columnName(nextColumn_), name)) {
        return nextColumn_++;
    }
    for (int i = 0; i < count; ++i) {
        if (equalsIgnoringAsciiCase(columnName(i), name)) {
            nextColumn_ = i + 1;
            return i;
        }
    }
    return -1;
}

Value Statement::value(std::string_view name) {
    const int index = columnIndex(name);
    if (index < 0) {
        throw DbError("42S22", 0, "No column named " + std::string(name) + " in the result.",
                      "dcfconvert");
    }
    return value(index);
}

std::string Statement::text(std::string_view name) {
    return toText(value(name));
}

std::optional<Currency> Statement::currency(std::string_view name) {
    const Value v = value(name);
    if (const auto* c = std::get_if<Currency>(&v)) {
        return *c;
    }
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        // A whole number too large for an amount is none, as text out of
        // range is none.
        constexpr std::int64_t kUnits = 10000;
        constexpr std::int64_t kMaxWhole = std::numeric_limits<std::int64_t>::max() / kUnits;
        if (*i < -kMaxWhole || *i > kMaxWhole) {
            return std::nullopt;
        }
        return Currency::fromTenThousandths(*i * kUnits);
    }
    if (std::holds_alternative<Null>(v)) {
        return std::nullopt;
    }
    return Currency::parse(toText(v));
}

std::int64_t Statement::integer(std::string_view name) {
    const Value v = value(name);
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        return *i;
    }
    const std::string s = toText(v);
    try {
        std::size_t used = 0;
        const long long result = std::stoll(s, &used);
        if (used == s.size()) {
            return result;
        }
    } catch (const std::exception&) {
        // falls through to the error below
    }
    throw DbError("22018", 0,
                  "Column " + std::string(name) + " holds \"" + s + "\", not a whole number.",
                  "dcfconvert");
}

bool Statement::boolean(std::string_view name) {
    const Value v = value(name);
    if (const auto* b = std::get_if<bool>(&v)) {
        return *b;
    }
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        return *i != 0;
    }
    const std::string s = toText(v);
    return !(s.empty() || s == "0" || s == "f" || s == "false" || s == "False");
}

} // namespace dcf::db

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace dcf::db {

// Money as a 64-bit count of ten-thousandths: never a binary floating-point
// number, so every amount the filing tables hold survives a round trip.
class Currency {
public:
    constexpr Currency() = default;
    static constexpr Currency fromTenThousandths(std::int64_t units) { return Currency(units); }

    // Reads decimal text such as "-12.5", "0.0001" or "1.0e-04" (SQLite hands
    // back amounts in that form), rounding half away from zero to four places.
    // Returns nothing for text that is not a number or is out of range.
    static std::optional<Currency> parse(std::string_view text);

    // Always four decimal places: "-0.9900".
    [[nodiscard]] std::string toString() const;
    [[nodiscard]] constexpr std::int64_t tenThousandths() const { return units_; }

    friend constexpr bool operator==(Currency, Currency) = default;

private:
    constexpr explicit Currency(std::int64_t units) : units_(units) {}
    std::int64_t units_ = 0;
};

struct Null {
    friend constexpr bool operator==(Null, Null) { return true; }
};

// A value as it crosses the database boundary. Integer is for keys and counts.
using Value = std::variant<Null, std::string, Currency, bool, std::int64_t>;

inline Value text(std::string_view s) {
    return Value{std::string(s)};
}

// The value as text, the way a log line shows it: empty for null, "-1"/"0"
// never appears because Booleans render as "True"/"False".
std::string toText(const Value& value);

} // namespace dcf::db

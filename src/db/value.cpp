#include "db/value.h"

#include <limits>

namespace dcf::db {
namespace {

constexpr int kScale = 4;
// A larger exponent is refused as out of range.
constexpr int kMaxExponent = 40;

// Digits of a decimal number without sign or point, and where the point sits.
struct Decimal {
    std::string digits;
    int pointPosition = 0; // digits before the point
    bool negative = false;
};

// The exponent after "e": a sign and digits, nothing else (no blank, no
// NUL), at most kMaxExponent either way.
std::optional<int> readExponent(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > kMaxExponent) {
            return std::nullopt;
        }
    }
    return negative ? -value : value;
}

std::optional<Decimal> readDecimal(std::string_view text) {
    Decimal d;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        d.negative = text[i] == '-';
        ++i;
    }
    bool sawDigit = false;
    bool sawPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            d.digits += c;
            sawDigit = true;
            if (!sawPoint) {
                ++d.pointPosition;
            }
        } else if (c == '.' && !sawPoint) {
            sawPoint = true;
        } else {
            break;
        }
    }
    if (!sawDigit) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::optional<int> exponent = readExponent(text.substr(i + 1));
        if (!exponent) {
            return std::nullopt;
        }
        d.pointPosition += *exponent;
        i = text.size();
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return d;
}

} // namespace

std::optional<Currency> Currency::parse(std::string_view text) {
    const auto d = readDecimal(text);
    if (!d) {
        return std::nullopt;
    }
    // Scaled value = digits shifted so that kScale digits follow the point;
    // the first dropped digit decides the rounding (half away from zero).
    const int keep = d->pointPosition + kScale;
    std::uint64_t units = 0;
    constexpr auto limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    for (int i = 0; i < keep; ++i) {
        const auto digit = static_cast<std::uint64_t>(
            i < static_cast<int>(d->digits.size()) ? d->digits[static_cast<std::size_t>(i)] - '0'
                                                   : 0);
        if (units > (limit - digit) / 10) {
            return std::nullopt;
        }
        units = units * 10 + digit;
    }
    if (keep >= 0 && keep < static_cast<int>(d->digits.size()) &&
        d->digits[static_cast<std::size_t>(keep)] >= '5') {
        units += 1;
    }
    if (units > limit) {
        return std::nullopt;
    }
    const auto signedUnits = static_cast<std::int64_t>(units);
    return Currency(d->negative ? -signedUnits : signedUnits);
}

std::string Currency::toString() const {
    const bool negative = units_ < 0;
    // Work in unsigned so that the most negative value has a magnitude too.
    const std::uint64_t magnitude = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(units_)
                                             : static_cast<std::uint64_t>(units_);
    const std::string fraction = std::to_string(magnitude % 10000);
    std::string text;
    if (negative) {
        text += '-';
    }
    text += std::to_string(magnitude / 10000);
    text += '.';
    text.append(static_cast<std::size_t>(kScale) - fraction.size(), '0');
    text += fraction;
    return text;
}

std::string toText(const Value& value) {
    struct Visitor {
        std::string operator()(Null) const { return {}; }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(Currency c) const { return c.toString(); }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(std::int64_t i) const { return std::to_string(i); }
    };
    return std::visit(Visitor{}, value);
}

} // namespace dcf::db

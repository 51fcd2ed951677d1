// Feeds arbitrary text to the amount reading of the importers (amountOf,
// over Currency::parse) and checks: only a decimal number is accepted; its
// value is the text's rounded to four places; its four-place and short
// forms read back to the same amount; the sign mirrors; a number in range is
// never refused; and an amount, or a whole number, stored in a NUMERIC
// column of SQLite reads back as the same amount or not at all.
#include "db/connection.h"
#include "db/value.h"
#include "fuzz_check.h"
#include "importers/schedule_rules.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

using dcf::db::Currency;
using dcf::fuzz::check;

constexpr std::int64_t kUnitsPerWhole = 10000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A sign, digits with at most one point and at least one digit, then an
// exponent of "e" or "E", a sign and digits. Sets `exponent` (saturated).
bool isDecimalNumber(std::string_view t, long& exponent) {
    std::size_t i = t.starts_with('+') || t.starts_with('-') ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; i < t.size() && (isDigit(t[i]) || (t[i] == '.' && !point)); ++i) {
        digit = digit || isDigit(t[i]);
        point = point || t[i] == '.';
    }
    exponent = 0;
    if (!digit || i == t.size()) {
        return digit;
    }
    if (t[i] != 'e' && t[i] != 'E') {
        return false;
    }
    ++i;
    const bool negative = i < t.size() && t[i] == '-';
    i += i < t.size() && (t[i] == '+' || t[i] == '-') ? 1 : 0;
    if (i == t.size()) {
        return false;
    }
    for (; i < t.size(); ++i) {
        if (!isDigit(t[i])) {
            return false;
        }
        exponent = std::min(exponent * 10 + (t[i] - '0'), 1000L);
    }
    exponent = negative ? -exponent : exponent;
    return true;
}

void checkForms(Currency amount) {
    const std::string four = amount.toString();
    const std::size_t point = four.find('.');
    check(point != std::string::npos && four.size() - point == 5, "four places");
    check(Currency::parse(four) == amount, "four-place form reads back");
    const std::string shortForm = dcf::importers::amountText(amount);
    check(Currency::parse(shortForm) == amount, "short form reads back");
    check(shortForm != "-0" && !shortForm.ends_with('.') &&
              (shortForm.find('.') == std::string::npos || !shortForm.ends_with('0')),
          "short form has no trailing zero");
}

void checkValue(std::string_view text, const std::optional<Currency>& amount) {
    long exponent = 0;
    const bool number = isDecimalNumber(text, exponent);
    check(!amount || number, "only a decimal number is accepted");
    if (!number || exponent < -40 || exponent > 40) {
        return;
    }
    // Close enough to judge range and rounding: a long double keeps 64 bits.
    const long double value = std::strtold(std::string(text).c_str(), nullptr);
    const long double units = std::round(value * kUnitsPerWhole);
    const long double limit = std::numeric_limits<std::int64_t>::max();
    if (std::fabs(units) < limit * 0.999L) {
        check(amount.has_value(), "an amount in range is accepted");
        check(std::fabs(units - static_cast<long double>(amount->tenThousandths())) <= 1,
              "value rounded to four places");
    } else if (std::fabs(units) > limit * 1.001L) {
        check(!amount, "an amount out of range is refused");
    }
}

void checkSign(std::string_view text, const std::optional<Currency>& amount) {
    if (text.starts_with('+') || text.starts_with('-')) {
        return;
    }
    const auto minus = Currency::parse("-" + std::string(text));
    const auto plus = Currency::parse("+" + std::string(text));
    check(plus == amount, "a plus sign changes nothing");
    check(minus.has_value() == amount.has_value(), "a minus sign is accepted alike");
    check(!amount || minus->tenThousandths() == -amount->tenThousandths(), "minus negates");
}

void checkAmountOf(const std::string& text, const std::optional<Currency>& amount) {
    std::optional<Currency> read;
    try {
        read = dcf::importers::amountOf(text);
    } catch (const std::runtime_error&) {
        // what parse refuses, checked below
    }
    check(read == amount, "amountOf reads what parse reads and throws for the rest");
}

dcf::db::Connection& database() {
    static const std::unique_ptr<dcf::db::Connection> db = [] {
        auto c = dcf::db::Connection::openSqliteFile(":memory:");
        c->executeScript("create table amounts (amount NUMERIC)");
        return c;
    }();
    return *db;
}

std::optional<Currency> storedAndRead(const dcf::db::Value& value) {
    dcf::db::Connection& db = database();
    db.statement("delete from amounts").execute();
    db.statement("insert into amounts (amount) values (?)").run(value);
    auto& select = db.statement("select amount from amounts");
    select.execute();
    check(select.next(), "the stored row is there");
    const std::optional<Currency> back = select.currency("amount");
    select.reset();
    return back;
}

void checkStored(const std::optional<Currency>& amount, std::int64_t whole) {
    // Below 100 billion the column keeps all four places.
    constexpr std::int64_t kExact = 100'000'000'000 * kUnitsPerWhole;
    if (amount && amount->tenThousandths() > -kExact && amount->tenThousandths() < kExact) {
        check(storedAndRead(*amount) == amount, "an amount comes back from the database");
    }
    // A whole number in an amount column is that many units or no amount.
    const std::optional<Currency> back = storedAndRead(whole);
    constexpr std::int64_t kMaxWhole = std::numeric_limits<std::int64_t>::max() / kUnitsPerWhole;
    if (whole >= -kMaxWhole && whole <= kMaxWhole) {
        check(back && back->tenThousandths() == whole * kUnitsPerWhole, "whole number read");
    } else {
        check(!back, "a whole number beyond any amount is refused");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<Currency> amount = Currency::parse(text);
    if (amount) {
        checkForms(*amount);
    }
    checkValue(text, amount);
    checkSign(text, amount);
    checkAmountOf(text, amount);

    std::int64_t whole = 0;
    if (size > 0) {
        std::memcpy(&whole, data, std::min(size, sizeof whole));
    }
    checkStored(amount, whole);
    return 0;
}

// Feeds arbitrary text to ConvertDate and checks its contract on its own
// terms: the result is the month, day and year slices joined by slashes,
// the error flag is set exactly when they make no date, a date converts
// back to itself, and nothing past the eighth character matters.
#include "dcf/convert_date.h"
#include "dcf/text_encoding.h"
#include "fuzz_check.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using dcf::fuzz::check;

// The value of `min` to `max` ASCII digits; -1 for anything else.
int digits(std::string_view text, std::size_t min, std::size_t max) {
    if (text.size() < min || text.size() > max) {
        return -1;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

struct Slices {
    std::string_view year, month, day;
};

// Characters 1-4, 5-6 and 7-8, as the header describes them.
Slices slicesOf(std::string_view in) {
    Slices s;
    s.year = dcf::utf8First(in, 4);
    const std::string_view rest = in.substr(s.year.size());
    s.month = dcf::utf8First(rest, 2);
    s.day = dcf::utf8First(rest.substr(s.month.size()), 2);
    return s;
}

// The year a four-digit year is shown as: written 0000-0009 it stands for
// 2000-2009, otherwise it is kept.
std::string shownYear(std::string_view year) {
    return year.starts_with("000") ? "20" + std::string(year.substr(2)) : std::string(year);
}

// Whether month/day/year text is a date: two-digit month, one- or
// two-digit day, a four-digit year from 100, and a day the month has,
// judged by the standard calendar rather than the converter's own.
bool isDate(std::string_view month, std::string_view day, std::string_view year) {
    const int m = digits(month, 2, 2);
    const int d = digits(day, 1, 2);
    const int y = digits(year, 4, 4);
    if (m < 0 || d < 0 || y < 100) {
        return false;
    }
    return std::chrono::year_month_day{std::chrono::year{y},
                                       std::chrono::month{static_cast<unsigned>(m)},
                                       std::chrono::day{static_cast<unsigned>(d)}}
        .ok();
}

void checkConversion(std::string_view in) {
    const dcf::ConvertedDate converted = dcf::ConvertDate(in);
    const std::string& out = converted.text;
    const bool error = !converted.valid;
    const Slices s = slicesOf(in);

    const std::string head = std::string(s.month) + "/" + std::string(s.day) + "/";
    check(out.starts_with(head), "result begins with month/day/");
    const std::string_view year = std::string_view(out).substr(head.size());
    check(error != isDate(s.month, s.day, year), "flag set exactly when no date");
    if (digits(s.year, 4, 4) >= 0) {
        check(year == shownYear(s.year), "four-digit year kept or repaired");
    } else {
        check(error, "a date needs four digits of year");
    }
    check(!dcf::isValidUtf8(in) || dcf::isValidUtf8(out), "UTF-8 in, UTF-8 out");

    if (dcf::utf8Length(in) >= 8) {
        const dcf::ConvertedDate longer = dcf::ConvertDate(std::string(in) + "0/x");
        check(longer.text == out && longer.valid == converted.valid,
              "past the eighth character ignored");
    }

    if (!error) {
        // Written back as YYYYMMDD, the date converts to itself.
        const std::string day = s.day.size() == 1 ? "0" + std::string(s.day) : std::string(s.day);
        const dcf::ConvertedDate back =
            dcf::ConvertDate(std::string(year) + std::string(s.month) + day);
        check(back.valid, "a date written back is a date");
        check(back.text == std::string(s.month) + "/" + day + "/" + std::string(year),
              "a date written back converts to itself");
        check(s.day.size() == 1 || back == out, "same text for a two-digit day");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Staged fields are UTF-8; stray bytes must not break the slicing either.
    checkConversion(dcf::toUtf8(bytes));
    checkConversion(bytes);
    return 0;
}

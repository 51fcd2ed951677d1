#include "dcf/convert_date.h"

#include "dcf/text_encoding.h"

namespace dcf {
namespace {

// `count` characters starting after the first `skip` characters.
std::string_view utf8Slice(std::string_view text, std::size_t skip, std::size_t count) {
    return utf8First(text.substr(utf8First(text, skip).size()), count);
}

// The value of 1 to `maxDigits` ASCII digits; -1 for anything else.
int digitsValue(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) {
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

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// A date in the month-first reading: one- or two-digit month and day, a
// four-digit year from 100 to 9999, and a day that exists in that month.
bool isValidDate(std::string_view monthText, std::string_view dayText, std::string_view yearText) {
    const int month = digitsValue(monthText, 2);
    const int day = digitsValue(dayText, 2);
    const int year = yearText.size() == 4 ? digitsValue(yearText, 4) : -1;
    if (year < 100 || month < 1 || month > 12) {
        return false;
    }
    return day >= 1 && day <= daysInMonth(month, year);
}

} // namespace

ConvertedDate ConvertDate(std::string_view inDate) {
    std::string year(utf8First(inDate, 4));
    const std::string_view month = utf8Slice(inDate, 4, 2);
    const std::string_view day = utf8Slice(inDate, 6, 2);

    // Years written with two leading zeros (0001-0009) stand for 2001-2009.
    const std::string_view lastTwo = utf8Last(year, 2);
    if (utf8First(year, 2) == "00" && lastTwo < "10") {
        year = "20" + std::string(lastTwo);
    }

    ConvertedDate result;
    result.text.reserve(month.size() + day.size() + year.size() + 2);
    result.text.append(month).append("/").append(day).append("/").append(year);
    result.valid = isValidDate(month, day, year);
    return result;
}

} // namespace dcf

#pragma once

#include <string>
#include <string_view>

namespace dcf {

// Turns a DCF date (YYYYMMDD) into month/day/year text: characters 1-4 are the
// year, 5-6 the month, 7-8 the day, taken as they stand. A year written
// 0000-0009 becomes 2000-2009. The text is returned whether or not it is a
// valid date; `valid` says which.
struct ConvertedDate {
    std::string text;
    bool valid = true;
};
ConvertedDate ConvertDate(std::string_view inDate);

} // namespace dcf

#pragma once

#include <chrono>
#include <ctime>
#include <string>

namespace dcf::log {

// Times and dates as the conversion log, the window's labels and the final
// log name show them: always English "AM"/"PM", whatever the user's locale,
// so a log reads the same on every machine.

// The time point in the machine's local time zone.
std::tm localTime(std::chrono::system_clock::time_point when);

// "h:mm:ssampm": 12-hour clock, hour without a leading zero, e.g. "9:05:07AM".
std::string clockTime12(const std::tm& when);
std::string clockTime12(std::chrono::system_clock::time_point when);

// "hhmmssampm": the same with a two-digit hour and no separators, e.g. "090507AM".
std::string fileTime12(const std::tm& when);
std::string fileTime12(std::chrono::system_clock::time_point when);

// "M/D/YYYY" without leading zeros, e.g. "12/8/2026".
std::string logDate(const std::tm& when);
// "mm-dd-yy": 12-08-26.
std::string shortDate(const std::tm& when);
std::string logDate(std::chrono::system_clock::time_point when);

} // namespace dcf::log

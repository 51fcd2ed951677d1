#include "log/clock_text.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace dcf::log {

namespace {

// Midnight and noon read 12, as on any 12-hour clock.
int hour12(const std::tm& when) {
    const int hour = when.tm_hour % 12;
    return hour == 0 ? 12 : hour;
}

const char* meridiem(const std::tm& when) {
    return when.tm_hour < 12 ? "AM" : "PM";
}

} // namespace

std::tm localTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        throw std::runtime_error("Cannot convert the current time to local time.");
    }
    return local;
}

// Formatted by hand rather than with strftime: "%p" follows the locale.
std::string clockTime12(const std::tm& when) {
    char text[64];
    std::snprintf(text, sizeof text, "%d:%02d:%02d%s", hour12(when), when.tm_min, when.tm_sec,
                  meridiem(when));
    return text;
}

std::string clockTime12(std::chrono::system_clock::time_point when) {
    return clockTime12(localTime(when));
}

std::string fileTime12(const std::tm& when) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d%02d%02d%s", hour12(when), when.tm_min, when.tm_sec,
                  meridiem(when));
    return text;
}

std::string fileTime12(std::chrono::system_clock::time_point when) {
    return fileTime12(localTime(when));
}

std::string logDate(const std::tm& when) {
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%d", when.tm_mon + 1, when.tm_mday,
                  when.tm_year + 1900);
    return text;
}

std::string logDate(std::chrono::system_clock::time_point when) {
    return logDate(localTime(when));
}

std::string shortDate(const std::tm& when) {
    // Two digits each, whatever the fields hold.
    const auto two = [](int value) {
        const int v = ((value % 100) + 100) % 100;
        return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
    };
    return two(when.tm_mon + 1) + "-" + two(when.tm_mday) + "-" + two(when.tm_year);
}

} // namespace dcf::log

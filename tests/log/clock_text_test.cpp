#include "log/clock_text.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

std::tm at(int hour, int minute, int second) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    return when;
}

struct TwelveHourCase {
    int hour, minute, second;
    const char* clock;
    const char* file;
};

TEST(ClockText, TwelveHourClockInBothForms) {
    const TwelveHourCase cases[] = {
        {0, 0, 0, "12:00:00AM", "120000AM"}, // midnight reads 12
        {0, 59, 9, "12:59:09AM", "125909AM"},   {9, 5, 7, "9:05:07AM", "090507AM"},
        {11, 59, 59, "11:59:59AM", "115959AM"}, {12, 0, 0, "12:00:00PM", "120000PM"}, // noon is PM
        {12, 30, 1, "12:30:01PM", "123001PM"},  {13, 4, 5, "1:04:05PM", "010405PM"},
        {23, 59, 59, "11:59:59PM", "115959PM"},
    };
    for (const auto& c : cases) {
        const std::tm when = at(c.hour, c.minute, c.second);
        EXPECT_EQ(dcf::log::clockTime12(when), c.clock) << c.hour << ":" << c.minute;
        EXPECT_EQ(dcf::log::fileTime12(when), c.file) << c.hour << ":" << c.minute;
    }
}

TEST(ClockText, DateWithoutLeadingZeros) {
    std::tm when = at(9, 0, 0);
    EXPECT_EQ(dcf::log::logDate(when), "12/8/2026");
    when.tm_mon = 0;
    when.tm_mday = 31;
    EXPECT_EQ(dcf::log::logDate(when), "1/31/2026");
}

TEST(ClockText, TimePointIsShownInLocalTime) {
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved != nullptr ? saved : "";
    setenv("TZ", "EST5", 1); // a fixed UTC-5 that needs no zone database
    tzset();
    // 2026-12-08 14:05:07 UTC
    const auto when = std::chrono::system_clock::from_time_t(1796738707);
    EXPECT_EQ(dcf::log::clockTime12(when), "9:05:07AM");
    EXPECT_EQ(dcf::log::fileTime12(when), "090507AM");
    EXPECT_EQ(dcf::log::logDate(when), "12/8/2026");
    if (saved != nullptr) {
        setenv("TZ", savedZone.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

} // namespace

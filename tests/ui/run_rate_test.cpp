#include "run_rate.h"

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

using namespace std::chrono_literals;

TEST(RunRate, ShowsTheRateAndTimeLeftOfTheCurrentStepOnly) {
    RunRate rate;
    const RunRate::Clock::time_point start{};
    rate.restart(start);
    rate.update(0, 10'000, start);
    rate.update(100, 10'000, start + 100ms);
    EXPECT_EQ(rate.text(start + 100ms), "") << "too early to say";
    rate.update(2'000, 10'000, start + 1s);
    EXPECT_EQ(rate.text(start + 1s), "2000 lines/s, about 4 s left");

    // The next importer starts its bar over: its rate is its own.
    rate.update(0, 50, start + 2s);
    rate.update(10, 50, start + 4s);
    EXPECT_EQ(rate.text(start + 4s), "5 lines/s, about 8 s left");
    rate.update(50, 50, start + 5s);
    EXPECT_EQ(rate.text(start + 5s), "17 lines/s");
}

TEST(RunRate, DurationsReadAsSecondsMinutesOrHours) {
    EXPECT_EQ(durationText(0), "0 s");
    EXPECT_EQ(durationText(59), "59 s");
    EXPECT_EQ(durationText(245), "4 min 05 s");
    EXPECT_EQ(durationText(7380), "2 h 03 min");
}

} // namespace
} // namespace dcf::ui

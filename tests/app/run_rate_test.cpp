#include "app/run_rate.h"

#include <gtest/gtest.h>

namespace dcf::app {
namespace {

using namespace std::chrono_literals;

TEST(RunRate, RatesAndTimeLeftAreTheCurrentStepsOnly) {
    RunRate rate;
    const RunRate::Clock::time_point start{};
    rate.restart(start);
    rate.update(0, 10'000, start);
    rate.update(100, 10'000, start + 100ms);
    EXPECT_FALSE(rate.estimate(start + 100ms, 500ms)) << "too early to say";
    EXPECT_TRUE(rate.estimate(start + 100ms)) << "without a settle time, at once";
    rate.update(2'000, 10'000, start + 1s);
    ASSERT_TRUE(rate.estimate(start + 1s, 500ms));
    EXPECT_DOUBLE_EQ(rate.estimate(start + 1s)->perSecond, 2000.0);
    EXPECT_EQ(rate.estimate(start + 1s)->secondsLeft, 4);

    // The next importer starts its bar over: its rate is its own, and one
    // that has not moved has none.
    rate.update(0, 50, start + 2s);
    EXPECT_FALSE(rate.estimate(start + 3s));
    rate.update(10, 50, start + 4s);
    EXPECT_DOUBLE_EQ(rate.estimate(start + 4s)->perSecond, 5.0);
    EXPECT_EQ(rate.estimate(start + 4s)->secondsLeft, 8);
    // A bar that goes back starts over too; at its end there is no time left.
    rate.update(5, 50, start + 5s);
    rate.update(50, 50, start + 8s);
    EXPECT_DOUBLE_EQ(rate.estimate(start + 8s)->perSecond, 15.0);
    EXPECT_FALSE(rate.estimate(start + 8s)->secondsLeft);
}

} // namespace
} // namespace dcf::app

#include "rate_text.h"

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

TEST(RateText, ShowsLinesPerSecondAndTheTimeLeft) {
    EXPECT_EQ(rateText(std::nullopt), "");
    EXPECT_EQ(rateText(app::RateEstimate{1999.6, 4}), "2000 lines/s, about 4 s left");
    EXPECT_EQ(rateText(app::RateEstimate{16.7, std::nullopt}), "17 lines/s");
    EXPECT_EQ(rateText(app::RateEstimate{5, 245}), "5 lines/s, about 4 min 05 s left");
}

TEST(RateText, DurationsReadAsSecondsMinutesOrHours) {
    EXPECT_EQ(durationText(0), "0 s");
    EXPECT_EQ(durationText(59), "59 s");
    EXPECT_EQ(durationText(245), "4 min 05 s");
    EXPECT_EQ(durationText(7380), "2 h 03 min");
}

} // namespace
} // namespace dcf::ui

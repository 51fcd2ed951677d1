#include "run_rate.h"

#include <cmath>

namespace dcf::ui {
namespace {

// A rate taken over less than this is mostly noise.
constexpr std::chrono::milliseconds kSettleTime{500};

std::string twoDigits(std::int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

} // namespace

void RunRate::restart(Clock::time_point now) {
    stepStart_ = now;
    valueAtStepStart_ = 0;
    value_ = 0;
    maximum_ = 0;
}

void RunRate::update(std::int64_t value, std::int64_t maximum, Clock::time_point now) {
    if (maximum != maximum_ || value < value_) {
        stepStart_ = now;
        valueAtStepStart_ = value;
    }
    value_ = value;
    maximum_ = maximum;
}

std::string RunRate::text(Clock::time_point now) const {
    const auto elapsed = now - stepStart_;
    const std::int64_t done = value_ - valueAtStepStart_;
    if (elapsed < kSettleTime || done <= 0) {
        return {};
    }
    const double rate = static_cast<double>(done) / std::chrono::duration<double>(elapsed).count();
    std::string shown = std::to_string(std::llround(rate)) + " lines/s";
    if (maximum_ > value_) {
        const auto left = std::llround(std::ceil(static_cast<double>(maximum_ - value_) / rate));
        shown += ", about " + durationText(left) + " left";
    }
    return shown;
}

std::string durationText(std::int64_t seconds) {
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    if (seconds < 3600) {
        return std::to_string(seconds / 60) + " min " + twoDigits(seconds % 60) + " s";
    }
    return std::to_string(seconds / 3600) + " h " + twoDigits(seconds / 60 % 60) + " min";
}

} // namespace dcf::ui

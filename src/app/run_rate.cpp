#include "app/run_rate.h"

#include <cmath>

namespace dcf::app {

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

std::optional<RateEstimate> RunRate::estimate(Clock::time_point now, Clock::duration settle) const {
    const Clock::duration elapsed = now - stepStart_;
    const std::int64_t done = value_ - valueAtStepStart_;
    if (elapsed <= Clock::duration::zero() || elapsed < settle || done <= 0) {
        return std::nullopt;
    }
    RateEstimate estimate;
    estimate.perSecond = static_cast<double>(done) / std::chrono::duration<double>(elapsed).count();
    if (maximum_ > value_) {
        estimate.secondsLeft =
            std::llround(std::ceil(static_cast<double>(maximum_ - value_) / estimate.perSecond));
    }
    return estimate;
}

} // namespace dcf::app

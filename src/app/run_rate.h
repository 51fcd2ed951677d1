#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace dcf::app {

// What the current step's progress says of its speed.
struct RateEstimate {
    double perSecond = 0;
    // Whole seconds until the step ends, rounded up; nothing at its end.
    std::optional<std::int64_t> secondsLeft;
};

// How fast the progress bar's current step goes and when it ends, as both
// front ends show it. The run moves the bar over the file's lines, then over
// the names and each importer's records; a new maximum or a value that goes
// back starts a new step, whose rate is its own.
class RunRate {
public:
    using Clock = std::chrono::steady_clock;

    void restart(Clock::time_point now);
    void update(std::int64_t value, std::int64_t maximum, Clock::time_point now);
    // Nothing until the step has moved and `settle` has passed since it
    // began: a rate taken over less is mostly noise.
    [[nodiscard]] std::optional<RateEstimate> estimate(Clock::time_point now,
                                                       Clock::duration settle = {}) const;

private:
    Clock::time_point stepStart_{};
    std::int64_t valueAtStepStart_ = 0;
    std::int64_t value_ = 0;
    std::int64_t maximum_ = 0;
};

} // namespace dcf::app

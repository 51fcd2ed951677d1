#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace dcf::ui {

// How fast the progress bar's current step goes and when it ends, for the
// status bar. The run moves the bar over the file's lines, then over each
// importer's records; a new maximum or a value that goes back starts a new
// step, whose rate is its own.
class RunRate {
public:
    using Clock = std::chrono::steady_clock;

    void restart(Clock::time_point now);
    void update(std::int64_t value, std::int64_t maximum, Clock::time_point now);
    // "5400 lines/s, about 35 s left", or "" until the step has moved.
    [[nodiscard]] std::string text(Clock::time_point now) const;

private:
    Clock::time_point stepStart_{};
    std::int64_t valueAtStepStart_ = 0;
    std::int64_t value_ = 0;
    std::int64_t maximum_ = 0;
};

// "35 s", "4 min 05 s", "2 h 03 min".
std::string durationText(std::int64_t seconds);

} // namespace dcf::ui

#pragma once

#include "app/run_rate.h"

#include <cstdint>
#include <optional>
#include <string>

namespace dcf::ui {

// The status bar's rate: "5400 lines/s, about 35 s left", or "" without one.
std::string rateText(const std::optional<app::RateEstimate>& rate);

// "35 s", "4 min 05 s", "2 h 03 min".
std::string durationText(std::int64_t seconds);

} // namespace dcf::ui

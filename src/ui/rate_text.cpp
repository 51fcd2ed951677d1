#include "rate_text.h"

#include <cmath>

namespace dcf::ui {
namespace {

std::string twoDigits(std::int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

} // namespace

std::string rateText(const std::optional<app::RateEstimate>& rate) {
    if (!rate) {
        return {};
    }
    std::string shown = std::to_string(std::llround(rate->perSecond)) + " lines/s";
    if (rate->secondsLeft) {
        shown += ", about " + durationText(*rate->secondsLeft) + " left";
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

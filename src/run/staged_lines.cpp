#include "run/staged_lines.h"

#include <algorithm>

namespace dcf::run {

void StagedLines::add(std::int64_t lineNumber) {
    const std::int64_t offset = lineNumber - count_;
    if (lineJumps_.empty() || lineJumps_.back().second != offset) {
        lineJumps_.emplace_back(count_, offset);
    }
    ++count_;
}

void StagedLines::placeKeys(const std::vector<std::pair<std::int64_t, std::int64_t>>& keyRuns) {
    keyRuns_.clear();
    std::int64_t position = 0;
    for (const auto& [first, length] : keyRuns) {
        keyRuns_.push_back({first, length, position});
        position += length;
    }
}

std::optional<std::int64_t> StagedLines::lineOf(std::int64_t key) const {
    // The last run that starts at or before the key.
    const auto run = std::upper_bound(
        keyRuns_.begin(), keyRuns_.end(), key,
        [](std::int64_t wanted, const KeyRun& candidate) { return wanted < candidate.firstKey; });
    if (run == keyRuns_.begin()) {
        return std::nullopt;
    }
    const KeyRun& found = *std::prev(run);
    if (key - found.firstKey >= found.length) {
        return std::nullopt;
    }
    const std::int64_t position = found.firstPosition + (key - found.firstKey);
    if (position >= count_) {
        return std::nullopt;
    }
    const auto jump = std::upper_bound(
        lineJumps_.begin(), lineJumps_.end(), position,
        [](std::int64_t wanted, const auto& candidate) { return wanted < candidate.first; });
    return position + std::prev(jump)->second;
}

} // namespace dcf::run

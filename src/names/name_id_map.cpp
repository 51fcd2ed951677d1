#include "names/name_id_map.h"

#include <algorithm>
#include <charconv>

namespace dcf::names {
namespace {

// A number written as digits only, without a leading zero (but "0"), that
// fits: only then is the text the number's one spelling.
std::optional<std::int64_t> plainNumber(std::string_view text) {
    if (text.empty() || (text.size() > 1 && text.front() == '0') ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

void NameIdMap::add(const std::string& fileNumber) {
    const std::int64_t place = added_++;
    if (const std::optional<std::int64_t> number = plainNumber(fileNumber)) {
        numbers_.emplace_back(*number, place);
    } else {
        others_.emplace(fileNumber, place);
    }
}

void NameIdMap::seal() {
    // By number, then by place: the first record of a number stays.
    std::sort(numbers_.begin(), numbers_.end());
    numbers_.erase(std::unique(numbers_.begin(), numbers_.end(),
                               [](const auto& a, const auto& b) { return a.first == b.first; }),
                   numbers_.end());
    numbers_.shrink_to_fit();
}

std::optional<std::string> NameIdMap::find(std::string_view fileNumber) const {
    std::optional<std::int64_t> place;
    if (const std::optional<std::int64_t> number = plainNumber(fileNumber)) {
        const auto found = std::lower_bound(numbers_.begin(), numbers_.end(), *number,
                                            [](const std::pair<std::int64_t, std::int64_t>& entry,
                                               std::int64_t value) { return entry.first < value; });
        if (found != numbers_.end() && found->first == *number) {
            place = found->second;
        }
    } else if (const auto found = others_.find(std::string(fileNumber)); found != others_.end()) {
        place = found->second;
    }
    if (!place) {
        return std::nullopt;
    }
    return std::to_string(firstId_ + *place);
}

} // namespace dcf::names

#include "staging/name_records.h"

#include <algorithm>
#include <array>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

namespace dcf::staging {
namespace {

// A record's values: its number, then fields 7 to 34.
constexpr std::size_t kValues = 1 + kNameRecordFields;

} // namespace

void NameRecords::add(std::string_view number, std::span<const std::string_view> fields) {
    if (fields.size() != kNameRecordFields) {
        throw std::logic_error("a NAME record is read with fields 7 to 34");
    }
    if (records_.size() >= std::numeric_limits<std::uint32_t>::max() / 2) {
        throw std::length_error("too many NAME records to hold in memory");
    }
    std::array<std::string_view, kValues> values;
    values[0] = number;
    std::copy(fields.begin(), fields.end(), values.begin() + 1);
    records_.push_back(text_.add(values));
}

// The slot of this number, or the empty slot where it would go.
std::size_t NameRecords::slotOf(std::string_view number) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>{}(number)&mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = slots_[slot];
        if (held == 0 || text_.first(records_[held - 1]) == number) {
            return slot;
        }
    }
}

void NameRecords::seal() {
    records_.shrink_to_fit();
    // At most half full, so that a probe ends soon.
    std::size_t size = 16;
    while (size < records_.size() * 2) {
        size *= 2;
    }
    slots_.assign(size, 0);
    for (std::size_t i = 0; i < records_.size(); ++i) {
        // Of two records with one number the first staged keeps its slot.
        std::uint32_t& slot = slots_[slotOf(text_.first(records_[i]))];
        if (slot == 0) {
            slot = static_cast<std::uint32_t>(i + 1);
        }
    }
}

std::optional<NameRecord> NameRecords::find(std::string_view number) const {
    if (slots_.empty()) {
        return std::nullopt;
    }
    const std::uint32_t held = slots_[slotOf(number)];
    if (held == 0) {
        return std::nullopt;
    }
    std::array<std::string_view, kValues> values;
    text_.read(records_[held - 1], values);
    return nameRecordFromFields([&](int field) {
        return std::string(values[static_cast<std::size_t>(1 + field - kNameRecordFirstField)]);
    });
}

std::size_t NameRecords::bytesUsed() const {
    return text_.bytesUsed() + records_.capacity() * sizeof(PackedText::Position) +
           slots_.capacity() * sizeof(std::uint32_t);
}

} // namespace dcf::staging

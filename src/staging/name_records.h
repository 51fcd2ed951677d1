#pragma once

#include "staging/name_record.h"
#include "staging/packed_text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace dcf::staging {

// The file's NAME records by record number, read once after renumbering so
// that no importer reads a NAME row from IMPORTTEMP again. A record costs
// its text, a byte or two per field, and four to eight bytes of a hash
// table of positions.
class NameRecords {
public:
    // Adds the next record in staging order: its number and fields 7 to 34.
    // Call `seal` after the last.
    void add(std::string_view number, std::span<const std::string_view> fields);
    void seal();

    // The first record of this number in staging order, as a lookup of the
    // number in IMPORTTEMP would find it.
    [[nodiscard]] std::optional<NameRecord> find(std::string_view number) const;
    [[nodiscard]] std::size_t size() const { return records_.size(); }
    // The memory the records take, for the benchmarks.
    [[nodiscard]] std::size_t bytesUsed() const;

private:
    [[nodiscard]] std::size_t slotOf(std::string_view number) const;

    PackedText text_;
    // In staging order until sealed.
    std::vector<PackedText::Position> records_;
    // Open addressing by number: 1 + a position in records_, 0 for none.
    std::vector<std::uint32_t> slots_;
};

} // namespace dcf::staging

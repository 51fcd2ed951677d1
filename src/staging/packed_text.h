#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace dcf::staging {

// Short records of text values kept end to end in large blocks, for indexes
// that hold many records for a whole run: a record costs a flag byte, a
// byte or two of length per value and the text itself, and no heap node of
// its own. Records are added, never changed or removed.
class PackedText {
public:
    // Where a record starts: its block and its place in the block.
    using Position = std::uint32_t;

    // Adds a record of these values and flags; throws std::length_error when
    // the blocks are full (4 GB).
    Position add(std::span<const std::string_view> values, unsigned char flags = 0);
    // The record's values (as many as `values` holds) and its flags. The
    // views stay valid while the text lives.
    unsigned char read(Position at, std::span<std::string_view> values) const;
    // The first value of the record alone.
    [[nodiscard]] std::string_view first(Position at) const;

    [[nodiscard]] std::size_t bytesUsed() const;

private:
    static constexpr unsigned kOffsetBits = 18;
    static constexpr std::size_t kBlockSize = std::size_t{1} << kOffsetBits;

    // One block, or a record longer than a block alone in one of its own.
    std::vector<std::vector<char>> blocks_;
};

} // namespace dcf::staging

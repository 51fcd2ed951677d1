#include "staging/packed_text.h"

#include <algorithm>
#include <stdexcept>

namespace dcf::staging {
namespace {

std::size_t lengthBytes(std::size_t length) {
    std::size_t bytes = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++bytes;
    }
    return bytes;
}

void appendLength(std::vector<char>& block, std::size_t length) {
    do {
        const auto low = static_cast<unsigned char>(length & 0x7f);
        length >>= 7;
        block.push_back(static_cast<char>(length != 0 ? (low | 0x80) : low));
    } while (length != 0);
}

std::size_t readLength(const char*& at) {
    std::size_t length = 0;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        length |= static_cast<std::size_t>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0) {
            return length;
        }
    }
}

} // namespace

PackedText::Position PackedText::add(std::span<const std::string_view> values,
                                     unsigned char flags) {
    std::size_t size = 1;
    for (const std::string_view value : values) {
        size += lengthBytes(value.size()) + value.size();
    }
    const bool fits = !blocks_.empty() && blocks_.back().size() + size <= kBlockSize;
    if (!fits) {
        if (blocks_.size() >= (std::size_t{1} << (32 - kOffsetBits))) {
            throw std::length_error("more than 4 GB of names held in memory");
        }
        // A record longer than a block gets a block of its own size.
        blocks_.emplace_back().reserve(std::max(size, kBlockSize));
    }
    std::vector<char>& block = blocks_.back();
    const auto at = static_cast<Position>(((blocks_.size() - 1) << kOffsetBits) | block.size());
    block.push_back(static_cast<char>(flags));
    for (const std::string_view value : values) {
        appendLength(block, value.size());
        block.insert(block.end(), value.begin(), value.end());
    }
    return at;
}

unsigned char PackedText::read(Position at, std::span<std::string_view> values) const {
    const std::vector<char>& block = blocks_[at >> kOffsetBits];
    const char* next = block.data() + (at & (kBlockSize - 1));
    const auto flags = static_cast<unsigned char>(*next++);
    for (std::string_view& value : values) {
        const std::size_t length = readLength(next);
        value = std::string_view(next, length);
        next += length;
    }
    return flags;
}

std::string_view PackedText::first(Position at) const {
    std::string_view value;
    read(at, std::span<std::string_view>(&value, 1));
    return value;
}

std::size_t PackedText::bytesUsed() const {
    std::size_t bytes = blocks_.capacity() * sizeof(std::vector<char>);
    for (const std::vector<char>& block : blocks_) {
        bytes += block.capacity();
    }
    return bytes;
}

} // namespace dcf::staging

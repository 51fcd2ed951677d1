#include "db/key_snapshot.h"

namespace dcf::db {

// Each key is stored as its difference from the key before (the first from
// zero), zigzag-mapped so that a step back is small too, in seven-bit groups,
// the low group first, the high bit of a byte saying that another follows.
void KeySnapshot::load(Cursor& rows) {
    while (rows.next()) {
        append(rows.row().integer(rows.row().columnName(0)));
    }
    bytes_.shrink_to_fit();
}

void KeySnapshot::append(std::int64_t key) {
    const auto delta = static_cast<std::uint64_t>(key) - static_cast<std::uint64_t>(last_);
    std::uint64_t zigzag = (delta << 1) ^ (0 - (delta >> 63));
    while (zigzag >= 0x80) {
        bytes_.push_back(static_cast<unsigned char>(zigzag | 0x80));
        zigzag >>= 7;
    }
    bytes_.push_back(static_cast<unsigned char>(zigzag));
    last_ = key;
    ++count_;
}

void KeySnapshot::Iterator::decode() {
    if (at_ == end_) {
        next_ = at_;
        return;
    }
    std::uint64_t zigzag = 0;
    const unsigned char* byte = at_;
    for (unsigned shift = 0;; shift += 7) {
        zigzag |= static_cast<std::uint64_t>(*byte & 0x7f) << shift;
        if ((*byte++ & 0x80) == 0) {
            break;
        }
    }
    next_ = byte;
    const std::uint64_t delta = (zigzag >> 1) ^ (0 - (zigzag & 1));
    key_ = static_cast<std::int64_t>(static_cast<std::uint64_t>(key_) + delta);
}

} // namespace dcf::db

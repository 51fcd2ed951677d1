#pragma once

#include "db/cursor.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace dcf::db {

// The keys of a selection, taken once before a loop walks it. The query must
// select the key as its only column, in its own order and then by the key
// (staging order). Rows are read when reached, or a slice at a time, so the
// loop may update them. Each key is kept as its difference from the one
// before, in a byte or two for keys in staging order, so that a million
// keys take about a megabyte, not eight.
class KeySnapshot {
public:
    // The keys in the selection's order.
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::int64_t;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::int64_t*;
        using reference = std::int64_t;

        Iterator() = default;
        std::int64_t operator*() const { return key_; }
        Iterator& operator++() {
            at_ = next_;
            decode();
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

    private:
        friend class KeySnapshot;
        Iterator(const unsigned char* at, const unsigned char* end, std::int64_t before)
            : at_(at), end_(end), key_(before) {
            decode();
        }
        void decode();

        const unsigned char* at_ = nullptr;
        const unsigned char* next_ = nullptr;
        const unsigned char* end_ = nullptr;
        std::int64_t key_ = 0;
    };

    KeySnapshot() = default;
    template <typename... Args>
    KeySnapshot(Connection& connection, std::string_view keyQuery, const Args&... args) {
        Cursor rows(connection, keyQuery, args...);
        load(rows);
    }

    [[nodiscard]] std::size_t size() const { return count_; }
    [[nodiscard]] bool empty() const { return count_ == 0; }
    [[nodiscard]] Iterator begin() const {
        return {bytes_.data(), bytes_.data() + bytes_.size(), 0};
    }
    [[nodiscard]] Iterator end() const {
        const unsigned char* last = bytes_.data() + bytes_.size();
        return {last, last, 0};
    }

private:
    void load(Cursor& rows);
    void append(std::int64_t key);

    std::vector<unsigned char> bytes_;
    std::size_t count_ = 0;
    std::int64_t last_ = 0;
};

} // namespace dcf::db

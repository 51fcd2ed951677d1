#pragma once

#include "db/cursor.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dcf::db {

// The keys of a selection, taken once before a loop walks it. The query must
// select the key as its only column, in its own order and then by the key
// (staging order). Rows are read when reached, so the loop may update them;
// memory grows with the number of keys, never with the rows' contents.
class KeySnapshot {
public:
    template <typename... Args>
    KeySnapshot(Connection& connection, std::string_view keyQuery, const Args&... args) {
        Cursor rows(connection, keyQuery, args...);
        load(rows);
    }

    [[nodiscard]] std::size_t size() const { return keys_.size(); }
    [[nodiscard]] bool empty() const { return keys_.empty(); }
    [[nodiscard]] auto begin() const { return keys_.begin(); }
    [[nodiscard]] auto end() const { return keys_.end(); }
    [[nodiscard]] std::int64_t operator[](std::size_t i) const { return keys_[i]; }

private:
    void load(Cursor& rows);
    std::vector<std::int64_t> keys_;
};

} // namespace dcf::db

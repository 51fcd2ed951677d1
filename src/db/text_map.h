#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace dcf::db {

// Hashes text so that a map keyed by std::string is looked up by a
// string_view without copying it.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

// A map by text, looked up by the text as given: statements by their SQL.
template <typename T> using TextMap = std::unordered_map<std::string, T, TextHash, std::equal_to<>>;

} // namespace dcf::db

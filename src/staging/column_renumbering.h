#pragma once

#include "db/connection.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace dcf::staging {

// The statements that rewrite one staged column from a number to another.
// Each but moveOne ends with the record types the move applies to, bound
// from `types` after its other parameters.
struct ColumnMove {
    // "update IMPORTTEMP set COL = ? where COL = ? and ..." (new, old): every
    // row of the move holding the old number.
    std::string moveAll;
    // "select import_key from IMPORTTEMP where COL = ? and ... order by
    // import_key" (old): the same rows, by key.
    std::string selectKeys;
    // "update IMPORTTEMP set COL = ? where import_key = ?" (new, key).
    std::string moveOne;
    // For a number that stays as it is: what its rows still need (a mark),
    // with the number as parameter; empty when they need nothing.
    std::string keep;
    db::Values types;
};

// Numbers of the file and the database numbers they become. Applied to a
// column, every row rewritten holds the new number of the number it held in
// the file: each row is rewritten at most once, however the new numbers
// overlap the file's (name id 2 for file name 1 while file name 2 follows).
class Renumbering {
public:
    // The first pair of a file number decides; a later one is ignored.
    void add(const std::string& from, const std::string& to);
    [[nodiscard]] const std::string* find(const std::string& from) const;
    [[nodiscard]] bool empty() const { return pairs_.empty(); }

    // Called after each number's rows were rewritten: the new number and how
    // many rows hold it now.
    using Moved = std::function<void(const std::string& to, std::int64_t rows)>;

    // Rewrites the column. A number that stays as it is leaves its rows
    // alone (but for `keep`). A number whose rows another number's rows are
    // about to take over moves first; in a ring of numbers (1 becomes 2 while
    // 2 becomes 1) one number's rows are taken by key before the ring turns.
    void apply(db::Connection& db, const ColumnMove& move, const Moved& moved = {}) const;

private:
    // The pairs that must move before pair `first`, ending at the first pair
    // with nothing left to wait for; `ringStart` is where the chain closes on
    // itself, or -1. `state` marks the pairs done and the chain's places.
    void chainFrom(std::size_t first, std::vector<std::ptrdiff_t>& state,
                   std::vector<std::size_t>& chain, std::ptrdiff_t& ringStart) const;

    std::vector<std::pair<std::string, std::string>> pairs_;
    std::unordered_map<std::string, std::size_t> byFrom_;
};

} // namespace dcf::staging

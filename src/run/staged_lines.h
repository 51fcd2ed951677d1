#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace dcf::run {

// Which line of the DCF file each staged row came from, so that an entry
// about a row can name its line. Staging adds the lines in the order it
// stages them; once staging is done the rows' keys, in the same order, are
// placed over them. A few breakpoints hold it all: lines and keys both run
// on by one, but for the lines that were not staged and gaps in the keys.
class StagedLines {
public:
    // The next staged row came from this line.
    void add(std::int64_t lineNumber);
    // The staged rows' keys in staging order, as runs of consecutive keys:
    // the first key of each run and its length.
    void placeKeys(const std::vector<std::pair<std::int64_t, std::int64_t>>& keyRuns);

    // The line of the row with this key; nothing before the keys are placed
    // or for a key no staged line has.
    [[nodiscard]] std::optional<std::int64_t> lineOf(std::int64_t key) const;
    [[nodiscard]] std::int64_t count() const { return count_; }

private:
    // Where the line numbers jump: from the row of this position on, line =
    // position + offset.
    std::vector<std::pair<std::int64_t, std::int64_t>> lineJumps_;
    // Where the keys jump: from this key on, position = key - first + start.
    struct KeyRun {
        std::int64_t firstKey;
        std::int64_t length;
        std::int64_t firstPosition;
    };
    std::vector<KeyRun> keyRuns_;
    std::int64_t count_ = 0;
};

} // namespace dcf::run

// An entry names the DCF line of its row: lines that were not staged and
// keys the database skipped must not shift the lines of the rows after them.
#include "run/staged_lines.h"

#include <gtest/gtest.h>

namespace {

using dcf::run::StagedLines;

TEST(StagedLines, EachKeyFindsTheLineItsRowCameFrom) {
    struct Case {
        const char* what;
        std::vector<std::int64_t> lines; // of the staged rows, in staging order
        std::vector<std::pair<std::int64_t, std::int64_t>> keyRuns;
        std::vector<std::pair<std::int64_t, std::optional<std::int64_t>>> expected;
    };
    const Case cases[] = {
        {"every line staged, keys from 1", {1, 2, 3}, {{1, 3}}, {{1, 1}, {3, 3}, {4, {}}}},
        {"lines 3 and 4 not staged, keys carrying on from an earlier run",
         {1, 2, 5, 6},
         {{101, 4}},
         {{100, {}}, {102, 2}, {103, 5}, {104, 6}, {105, {}}}},
        {"a gap in the keys",
         {1, 2, 3, 4},
         {{10, 2}, {20, 2}},
         {{11, 2}, {12, {}}, {19, {}}, {20, 3}, {21, 4}, {22, {}}}},
        {"both at once",
         {2, 3, 7, 9},
         {{5, 1}, {8, 3}},
         {{5, 2}, {6, {}}, {8, 3}, {9, 7}, {10, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StagedLines lines;
        for (const std::int64_t line : c.lines) {
            lines.add(line);
        }
        EXPECT_EQ(lines.lineOf(c.keyRuns.front().first), std::nullopt)
            << "no line before the keys are placed";
        lines.placeKeys(c.keyRuns);
        for (const auto& [key, line] : c.expected) {
            EXPECT_EQ(lines.lineOf(key), line) << "key " << key;
        }
    }
}

} // namespace

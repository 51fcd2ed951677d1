#pragma once

#include "dcf/dcf_splitter.h"
#include "dcf/record_types.h"

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace dcf::test {

// Expected staged values by field number; every field not named is empty.
using Fields = std::map<int, std::string>;

struct SplitCase {
    std::string name;
    std::string line;
    Fields fields;
    std::optional<std::string> filerId = std::nullopt;
    std::optional<std::string> nameRecordNumber = std::nullopt;
    std::string problem = {}; // empty for a complete line
};

inline std::ostream& operator<<(std::ostream& os, const SplitCase& c) {
    return os << c.name;
}

// "f4,f5,...,f9" for the data fields from..to, and their expected values.
inline std::string run(int from, int to) {
    std::string text;
    for (int k = from; k <= to; ++k) {
        text += (k == from ? "f" : ",f") + std::to_string(k);
    }
    return text;
}

inline Fields filled(int from, int to, Fields more = {}) {
    for (int k = from; k <= to; ++k) {
        more.emplace(k, "f" + std::to_string(k)); // entries already in `more` win
    }
    return more;
}

// Splits the case's line with its type's field count and compares all of the
// result: every field 2 to 46, completeness and problem, the filer values.
inline void expectSplit(const SplitCase& c, const SplitLine& got) {
    EXPECT_EQ(got.recordType, c.line.substr(0, 4));
    for (int k = 2; k <= 46; ++k) {
        const auto it = c.fields.find(k);
        const std::string expected = it == c.fields.end() ? std::string() : it->second;
        EXPECT_EQ(got.fields[static_cast<std::size_t>(k)], expected) << "field " << k;
    }
    EXPECT_EQ(got.complete, c.problem.empty());
    EXPECT_EQ(got.problem, c.problem);
    EXPECT_EQ(got.filerId, c.filerId);
    EXPECT_EQ(got.nameRecordNumber, c.nameRecordNumber);
}

inline SplitLine splitByType(const std::string& line) {
    const RecordType* type = findRecordType(line);
    EXPECT_NE(type, nullptr) << line;
    return splitDcfLine(line, type ? type->fieldCount : 0);
}

} // namespace dcf::test

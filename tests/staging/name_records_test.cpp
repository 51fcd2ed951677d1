#include "staging/name_records.h"

#include "staging/packed_text.h"

#include <array>
#include <string>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

std::array<std::string_view, staging::kNameRecordFields> fields(std::string_view last,
                                                                std::string_view city) {
    std::array<std::string_view, staging::kNameRecordFields> values{};
    values[0] = last; // field 7
    values[7] = city; // field 14
    return values;
}

// Records of any length, many blocks of them, read back whole; of two with
// one number the first added is found.
TEST(NameRecordsTest, KeepsEveryRecordWholeAndFindsTheFirstOfANumber) {
    staging::NameRecords records;
    const std::string longCity(3 << 20, 'c'); // longer than a block
    for (int i = 0; i < 40000; ++i) {
        const std::string last = "Last" + std::to_string(i);
        records.add(std::to_string(i), fields(last, i == 20000 ? longCity : "Salem"));
    }
    records.add("5", fields("Again", "Bend"));
    records.seal();
    EXPECT_EQ(records.size(), 40001u);
    EXPECT_EQ(records.find("39999")->name.naml, "Last39999");
    EXPECT_EQ(records.find("5")->name.naml, "Last5");
    EXPECT_EQ(records.find("20000")->address.city, longCity);
    EXPECT_EQ(records.find("20001")->address.city, "Salem");
    EXPECT_FALSE(records.find(""));
    EXPECT_FALSE(records.find("40000"));
}

TEST(PackedTextTest, KeepsEmptyValuesAndFlags) {
    staging::PackedText text;
    const std::array<std::string_view, 3> values{"", std::string_view("a\0b", 3), ""};
    const staging::PackedText::Position at = text.add(values, 5);
    std::array<std::string_view, 3> read;
    EXPECT_EQ(text.read(at, read), 5);
    EXPECT_EQ(read[0], "");
    EXPECT_EQ(read[1], std::string_view("a\0b", 3));
    EXPECT_EQ(read[2], "");
}

} // namespace
} // namespace dcf::test

// The file's name numbers and the ids they become: the first record of a
// number decides, and a number is only ever the text the file wrote.
#include "names/name_id_map.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

TEST(NameIdMap, EachNumberTakesTheIdOfItsFirstRecordInStagingOrder) {
    names::NameIdMap ids(500);
    for (const char* number : {"7", "3", "007", "Z9", "7", "0", "99999999999999999999", "Z9"}) {
        ids.add(number);
    }
    ids.seal();
    EXPECT_EQ(ids.find("7"), "500");
    EXPECT_EQ(ids.find("3"), "501");
    // Another spelling is another number, as the file's text is compared.
    EXPECT_EQ(ids.find("007"), "502");
    EXPECT_EQ(ids.find("Z9"), "503");
    EXPECT_EQ(ids.find("0"), "505");
    EXPECT_EQ(ids.find("99999999999999999999"), "506");
    for (const char* unknown : {"", "4", "07", "z9", "-7", "+7", " 7"}) {
        EXPECT_EQ(ids.find(unknown), std::nullopt) << unknown;
    }
    EXPECT_FALSE(ids.empty());
    EXPECT_TRUE(names::NameIdMap(2).empty());
}

} // namespace
} // namespace dcf::test

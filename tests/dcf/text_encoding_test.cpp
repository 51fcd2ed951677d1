// UTF-8 checks and character counting on multibyte and malformed text.
#include "dcf/text_encoding.h"

#include <string>

#include <gtest/gtest.h>

namespace dcf {
namespace {

TEST(Utf8Validity, AcceptsWellFormedAndRefusesMalformed) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("plain, ascii"));
    EXPECT_TRUE(isValidUtf8("é € \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"));
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));         // overlong NUL
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));     // overlong slash
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));         // truncated euro sign
    EXPECT_FALSE(isValidUtf8("a\x80"));            // stray continuation byte
    EXPECT_FALSE(isValidUtf8("caf\xE9"));
}

TEST(Cp1252, MapsEveryHighByte) {
    EXPECT_EQ(cp1252ToUtf8("\x80\x8A\x92\x9F\xA0\xE9\xFF"), "€Š’Ÿ\u00A0éÿ");
    EXPECT_EQ(toUtf8("ok é"), "ok é");
    EXPECT_EQ(toUtf8("\xE9t\xE9"), "été");
}

TEST(Utf8Characters, CountAndCutOnCharacterBoundaries) {
    const std::string text = "aé€\xF0\x9F\x98\x80z"; // five characters, eleven bytes
    EXPECT_EQ(utf8Length(text), 5U);
    EXPECT_EQ(utf8First(text, 2), "aé");
    EXPECT_EQ(utf8First(text, 4), "aé€\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8First(text, 9), text);
    EXPECT_EQ(utf8Last(text, 2), "\xF0\x9F\x98\x80z");
    EXPECT_EQ(utf8Last(text, 3), "€\xF0\x9F\x98\x80z");
    EXPECT_EQ(utf8Last(text, 0), "");
    EXPECT_EQ(utf8Last("", 2), "");
}

TEST(Utf8Characters, MalformedTextStaysInBounds) {
    const std::string stray = "\x80\x80"
                              "a\xE2";
    EXPECT_EQ(utf8Length(stray), 3U);
    EXPECT_EQ(utf8First(stray, 1), "\x80\x80");
    EXPECT_EQ(utf8Last(stray, 1), "\xE2");
    EXPECT_EQ(utf8Last(stray, 3), stray);
}

} // namespace
} // namespace dcf

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text inside the program is UTF-8. These helpers check and convert incoming
// bytes and measure text in characters (code points), never in bytes.
namespace dcf {

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF, no truncated sequence.
bool isValidUtf8(std::string_view bytes);

// Reads the bytes as Windows-1252. The five bytes that code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
// value, so every byte has a character and nothing is lost.
std::string cp1252ToUtf8(std::string_view bytes);

// The bytes unchanged when they are valid UTF-8, otherwise read as
// Windows-1252 as a whole.
std::string toUtf8(std::string_view bytes);

// Number of characters. Malformed input never makes these helpers read out of
// bounds: a stray byte counts as one character.
std::size_t utf8Length(std::string_view text);

// The first / last `count` characters (all of the text when it is shorter).
// A character is never cut in half.
std::string_view utf8First(std::string_view text, std::size_t count);
std::string_view utf8Last(std::string_view text, std::size_t count);

} // namespace dcf

#include "dcf/text_encoding.h"

#include <array>
#include <cstdint>

namespace dcf {
namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

// Length of the well-formed sequence starting at `pos`, or 0 when it is not one.
std::size_t validSequenceLength(std::string_view s, std::size_t pos) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80U) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80U;  // bounds of the second byte, narrower for
    unsigned char high = 0xBFU; // some leads to exclude overlongs and surrogates
    if (lead >= 0xC2U && lead <= 0xDFU) {
        length = 2;
    } else if (lead >= 0xE0U && lead <= 0xEFU) {
        length = 3;
        if (lead == 0xE0U) {
            low = 0xA0U;
        } else if (lead == 0xEDU) {
            high = 0x9FU;
        }
    } else if (lead >= 0xF0U && lead <= 0xF4U) {
        length = 4;
        if (lead == 0xF0U) {
            low = 0x90U;
        } else if (lead == 0xF4U) {
            high = 0x8FU;
        }
    } else {
        return 0;
    }
    if (s.size() - pos < length || at(1) < low || at(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at(i))) {
            return 0;
        }
    }
    return length;
}

void appendCodePoint(std::string& out, std::uint32_t cp) {
    if (cp < 0x80U) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800U) {
        out.push_back(static_cast<char>(0xC0U | (cp >> 6)));
        out.push_back(static_cast<char>(0x80U | (cp & 0x3FU)));
    } else {
        out.push_back(static_cast<char>(0xE0U | (cp >> 12)));
        out.push_back(static_cast<char>(0x80U | ((cp >> 6) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | (cp & 0x3FU)));
    }
}

// Code points of bytes 0x80 to 0x9F; the undefined ones keep their own value.
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool isValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // Plain ASCII dominates DCF files: skip it without the table checks.
        if (static_cast<unsigned char>(bytes[pos]) < 0x80U) {
            ++pos;
            continue;
        }
        const std::size_t length = validSequenceLength(bytes, pos);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80U) {
            out.push_back(c);
        } else if (byte < 0xA0U) {
            appendCodePoint(out, kCp1252High[byte - 0x80U]);
        } else {
            appendCodePoint(out, byte);
        }
    }
    return out;
}

std::string toUtf8(std::string_view bytes) {
    return isValidUtf8(bytes) ? std::string(bytes) : cp1252ToUtf8(bytes);
}

std::size_t utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if (!isContinuation(static_cast<unsigned char>(c))) {
            ++count;
        }
    }
    // Continuation bytes with no lead before them still count as characters.
    std::size_t i = 0;
    while (i < text.size() && isContinuation(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    return count + (i > 0 ? 1 : 0);
}

std::string_view utf8First(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
        ++pos;
        while (pos < text.size() && isContinuation(static_cast<unsigned char>(text[pos]))) {
            ++pos;
        }
    }
    return text.substr(0, pos);
}

std::string_view utf8Last(std::string_view text, std::size_t count) {
    std::size_t pos = text.size();
    for (std::size_t n = 0; n < count && pos > 0; ++n) {
        --pos;
        while (pos > 0 && isContinuation(static_cast<unsigned char>(text[pos]))) {
            --pos;
        }
    }
    return text.substr(pos);
}

} // namespace dcf

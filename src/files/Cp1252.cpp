#include "files/Cp1252.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace zg {
namespace {

// Characters of the bytes 0x80..0x9F; the undefined ones keep their C1 value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t charOfByte(uint8_t b) {
    if (b >= 0x80 && b <= 0x9F) {
        return kHighControls[b - 0x80];
    }
    return b;
}

/// The byte for a character, or -1 when the code page has none.
int byteOfChar(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return int(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return int(0x80 + i);
        }
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

/// Decodes one character at `pos` and advances `pos`; returns kInvalid for a
/// malformed sequence (advancing by one byte).
char32_t nextChar(std::string_view s, std::size_t& pos) {
    const uint8_t b0 = uint8_t(s[pos]);
    ++pos;
    if (b0 < 0x80) {
        return b0;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        c = b0 & 0x1F;
        least = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        c = b0 & 0x0F;
        least = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        c = b0 & 0x07;
        least = 0x10000;
    } else {
        return kInvalid;
    }
    if (s.size() - pos < std::size_t(extra)) {
        return kInvalid;
    }
    for (int i = 0; i < extra; ++i) {
        const uint8_t b = uint8_t(s[pos + std::size_t(i)]);
        if ((b & 0xC0) != 0x80) {
            return kInvalid;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return kInvalid;
    }
    pos += std::size_t(extra);
    return c;
}

} // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        appendUtf8(out, charOfByte(uint8_t(ch)));
    }
    return out;
}

Cp1252Encoding utf8ToCp1252(std::string_view utf8) {
    Cp1252Encoding result;
    result.bytes.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = nextChar(utf8, pos);
        if (c == kInvalid) {
            result.ok = false;
            result.malformed = true;
            result.offending = 0xFFFD;
            return result;
        }
        const int b = byteOfChar(c);
        if (b < 0) {
            result.ok = false;
            result.offending = c;
            return result;
        }
        result.bytes += char(b);
    }
    return result;
}

std::size_t utf8Length(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++count) {
        nextChar(utf8, pos);
    }
    return count;
}

std::string utf8Prefix(std::string_view utf8, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < utf8.size(); ++n) {
        nextChar(utf8, pos);
    }
    return std::string(utf8.substr(0, pos));
}

std::string codePointName(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", unsigned(c));
    return text;
}

} // namespace zg

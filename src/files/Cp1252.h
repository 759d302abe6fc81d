#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zg {

/// Decodes Windows-1252 bytes to UTF-8. Every byte becomes one character.
/// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
/// become the C1 control characters of the same value (U+0081 ...), as the
/// desktop platform's own conversion does: nothing is lost, and utf8ToCp1252
/// gives back exactly the bytes that were decoded.
std::string cp1252ToUtf8(std::string_view bytes);

/// The outcome of encoding UTF-8 text to Windows-1252.
struct Cp1252Encoding {
    bool ok = true;
    std::string bytes;      ///< the encoded text; complete only when ok
    char32_t offending = 0; ///< when !ok: the first character without a 1252 form (U+FFFD for bad UTF-8)
    bool malformed = false; ///< when !ok: the input was not valid UTF-8
};

/// Encodes UTF-8 text to Windows-1252, the inverse of cp1252ToUtf8. Fails for a
/// character the code page cannot hold (an emoji, most CJK) and for malformed
/// UTF-8 (overlong forms, surrogates, truncated sequences).
Cp1252Encoding utf8ToCp1252(std::string_view utf8);

/// Number of characters (code points) in UTF-8 text; a malformed byte counts as one.
std::size_t utf8Length(std::string_view utf8);

/// The first `count` characters of UTF-8 text (all of it when shorter).
std::string utf8Prefix(std::string_view utf8, std::size_t count);

/// "U+00E9"-style name of a character, for messages.
std::string codePointName(char32_t c);

} // namespace zg

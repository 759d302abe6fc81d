#include "files/Cp1252.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

TEST(Cp1252, EveryByteSurvivesDecodingAndEncoding) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += char(b);
    }
    const Cp1252Encoding back = utf8ToCp1252(cp1252ToUtf8(all));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bytes, all);
}

TEST(Cp1252, HighBytesDecodeToTheirTypographicCharacters) {
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(cp1252ToUtf8("\x93quoted\x94"), "\u201Cquoted\u201D");
    EXPECT_EQ(cp1252ToUtf8("caf\xE9"), "caf\u00E9");
    EXPECT_EQ(cp1252ToUtf8("\x9F"), "\u0178");
}

TEST(Cp1252, UndefinedBytesBecomeC1Controls) {
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(cp1252ToUtf8("\x9D"), "\xC2\x9D");
}

TEST(Cp1252, EmojiIsRefusedAndNamed) {
    const Cp1252Encoding e = utf8ToCp1252("smile \U0001F600");
    EXPECT_FALSE(e.ok);
    EXPECT_FALSE(e.malformed);
    EXPECT_EQ(e.offending, U'\U0001F600');
    EXPECT_EQ(codePointName(e.offending), "U+1F600");
}

TEST(Cp1252, LettersOutsideTheCodePageAreRefused) {
    EXPECT_FALSE(utf8ToCp1252("\u0100").ok); // A with macron
    EXPECT_FALSE(utf8ToCp1252("\u4E2D").ok);
}

TEST(Cp1252, MalformedUtf8IsRefused) {
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "a\xE2\x82"}) {
        const Cp1252Encoding e = utf8ToCp1252(bad);
        EXPECT_FALSE(e.ok) << bad;
        EXPECT_TRUE(e.malformed) << bad;
    }
}

TEST(Cp1252, PrefixCutsWholeCharacters) {
    EXPECT_EQ(utf8Prefix("h\u00E9llo", 2), "h\u00E9");
    EXPECT_EQ(utf8Prefix("ab", 5), "ab");
    EXPECT_EQ(utf8Length("h\u00E9\u20AC"), 3u);
}

} // namespace
} // namespace zg

#include "files/ColorNames.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

TEST(ColorNames, NamesMatchInAnyLetterCase) {
    EXPECT_EQ(colorFromName("clWindow"), 0x80000005u);
    EXPECT_EQ(colorFromName("CLWINDOW"), 0x80000005u);
    EXPECT_EQ(colorFromName("clwINDow"), 0x80000005u);
    EXPECT_EQ(colorFromName("clInfoBk"), 0x80000018u);
    EXPECT_EQ(colorFromName("clScrollBar"), 0x80000000u);
    EXPECT_EQ(colorFromName("clRed"), 0x0000FFu);
    EXPECT_EQ(colorFromName("clNone"), 0x1FFFFFFFu);
}

TEST(ColorNames, DollarHexIsTheColourItself) {
    EXPECT_EQ(colorFromName("$00FF00"), 0x00FF00u);
    EXPECT_EQ(colorFromName("$ff"), 0xFFu);
    EXPECT_EQ(colorFromName("$80000005"), 0x80000005u);
}

TEST(ColorNames, DecimalIsTheColourItself) {
    EXPECT_EQ(colorFromName("255"), 255u);
    EXPECT_EQ(colorFromName("+16"), 16u);
    EXPECT_EQ(colorFromName("-2147483643"), 0x80000005u);
}

TEST(ColorNames, RubbishIsInvalid) {
    for (const char* text : {"", "cl", "Window", "clWindow ", " 12", "$", "$GG", "$123456789", "12abc",
                             "0x10", "2147483648", "+-1", "--1"}) {
        EXPECT_FALSE(colorFromName(text).has_value()) << '"' << text << '"';
    }
}

TEST(ColorNames, ValuesMapBackToTheirNames) {
    EXPECT_EQ(colorName(0x80000005), "clWindow");
    EXPECT_EQ(colorName(0x80000018), "clInfoBk");
    EXPECT_EQ(colorName(0x00FF00), "clLime");
    EXPECT_FALSE(colorName(0x123456).has_value());
    for (const char* name : {"clBlack", "clAqua", "clBtnFace", "cl3DLight", "clNone"}) {
        EXPECT_EQ(colorName(*colorFromName(name)), name);
    }
}

TEST(ColorNames, DescriptionShowsHexAndName) {
    EXPECT_EQ(describeColor(0x80000005), "$80000005 (clWindow)");
    EXPECT_EQ(describeColor(0x00123456), "$00123456");
}

} // namespace
} // namespace zg

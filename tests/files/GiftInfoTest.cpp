#include "GiftTestSupport.h"

#include "files/GiftError.h"
#include "files/GiftInfo.h"

#include <bit>
#include <cstring>
#include <gtest/gtest.h>

namespace zg {
namespace {

using Trailer = std::array<uint8_t, kGiftTrailerSize>;

uint32_t le32(const Trailer& t, std::size_t at) {
    return uint32_t(t[at]) | uint32_t(t[at + 1]) << 8 | uint32_t(t[at + 2]) << 16 | uint32_t(t[at + 3]) << 24;
}
uint16_t le16(const Trailer& t, std::size_t at) {
    return uint16_t(t[at] | t[at + 1] << 8);
}
void put32(Trailer& t, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        t[at + std::size_t(i)] = uint8_t(v >> (8 * i));
    }
}

TEST(GiftTrailer, SerializedTrailerReadsBackWithEveryField) {
    TGiftInfo info = test::sampleGiftInfo();
    info.PictureOffset = 894976;
    info.PictureLength = 79690;
    info.MusicOffset = 974666;
    info.MusicLength = 1234;
    EXPECT_EQ(parseGiftInfo(serializeGiftInfo(info)), info);
}

TEST(GiftTrailer, FieldsSitAtTheirFileOffsets) {
    TGiftInfo info = test::sampleGiftInfo();
    info.PictureOffset = 894976;
    info.PictureLength = 79690;
    info.MusicOffset = 974666;
    info.MusicLength = -3;
    const Trailer t = serializeGiftInfo(info);

    EXPECT_EQ(le16(t, 0), 3421);
    EXPECT_EQ(le32(t, 2), 894976u);
    EXPECT_EQ(le32(t, 6), 79690u);
    EXPECT_EQ(le32(t, 10), 974666u);
    EXPECT_EQ(int32_t(le32(t, 14)), -3);
    EXPECT_EQ(t[18], 5); // "v4.04"
    EXPECT_EQ(std::memcmp(&t[19], "v4.04", 5), 0);
    double created = 0;
    std::memcpy(&created, &t[34], 8);
    EXPECT_EQ(created, 45292.5);
    EXPECT_EQ(t[42],
              info.Title.size() - 3); // \u00E9 and \u20AC take 2 and 3 bytes in UTF-8, one each in the file
    EXPECT_EQ(t[43 + 3], 0xE9);
    EXPECT_EQ(t[107], 5);                                     // "Renée"
    EXPECT_EQ(std::memcmp(&t[172], "First line\r\n", 12), 0); // Description
    EXPECT_EQ(le32(t, 1197), 0x00336699u);
    EXPECT_EQ(le16(t, 1201), 100);
    EXPECT_EQ(le16(t, 1203), 7);
    EXPECT_EQ(le32(t, 1205), 0xDEADBEEFu);
    EXPECT_EQ(std::memcmp(&t[1209], "Hello!\r\n", 8), 0);
    EXPECT_EQ(std::memcmp(&t[2234], "Bye \x97", 5), 0);
    EXPECT_EQ(le32(t, 3259), 0x000000FFu); // StartFont.Color
    EXPECT_EQ(int16_t(le16(t, 3263)), -14);
    EXPECT_EQ(t[3265], kPitchVariable);
    EXPECT_EQ(t[3266], 0);
    EXPECT_EQ(t[3267], kFontBold | kFontItalic);
    EXPECT_EQ(t[3268], 16); // "Liberation Serif"
    EXPECT_EQ(le32(t, 3300), 0x80000012u);
    EXPECT_EQ(t[3341], 8); // "clInfoBk"
    EXPECT_EQ(std::memcmp(&t[3342], "clInfoBk", 8), 0);
    EXPECT_EQ(t[3374], 7); // "$00FF00"
    EXPECT_EQ(t[3407], kAlignLeft);
    EXPECT_EQ(t[3408], kAlignRight);
    EXPECT_EQ(le32(t, 3409), 4u);
    EXPECT_EQ(le32(t, 3413), 3u);
    EXPECT_EQ(le32(t, 3417), 1u);
}

TEST(GiftTrailer, WrongTrailerSizeIsDamaged) {
    Trailer t = serializeGiftInfo(TGiftInfo{});
    t[0] = 0x5C; // 3420
    EXPECT_THROW(parseGiftInfo(t), GiftDamagedError);
    EXPECT_THROW(parseGiftInfo(std::span<const uint8_t>(t).first(3420)), GiftDamagedError);
}

TEST(GiftTrailer, TextBlockWithoutTerminatorIsDamaged) {
    for (std::size_t block : {172u, 1209u, 2234u}) {
        Trailer t = serializeGiftInfo(TGiftInfo{});
        std::memset(&t[block], 'x', 1025);
        EXPECT_THROW(parseGiftInfo(t), GiftDamagedError) << block;
        t[block + 1024] = 0; // a terminator in the last byte is fine
        EXPECT_NO_THROW(parseGiftInfo(t)) << block;
    }
}

TEST(GiftTrailer, OutOfRangeChoicesAreBroughtIntoRange) {
    struct Case {
        int32_t style, outline;
        uint16_t oddness;
        uint8_t align;
        int32_t wantStyle, wantOutline;
        uint16_t wantOddness;
        uint8_t wantAlign;
    };
    for (const Case c : {Case{0, -1, 11, 3, 1, 0, 10, 2}, Case{9, 7, 65535, 255, 6, 3, 10, 2},
                         Case{-5, 4, 10, 2, 1, 3, 10, 2}, Case{6, 0, 0, 0, 6, 0, 0, 0}}) {
        Trailer t = serializeGiftInfo(TGiftInfo{});
        put32(t, 3409, uint32_t(c.style));
        put32(t, 3413, uint32_t(c.outline));
        t[1203] = uint8_t(c.oddness);
        t[1204] = uint8_t(c.oddness >> 8);
        t[3407] = c.align;
        t[3408] = c.align;
        const TGiftInfo info = parseGiftInfo(t);
        EXPECT_EQ(info.Style, c.wantStyle);
        EXPECT_EQ(info.OutlineStyle, c.wantOutline);
        EXPECT_EQ(info.Oddness, c.wantOddness);
        EXPECT_EQ(info.StartAlign, c.wantAlign);
        EXPECT_EQ(info.EndAlign, c.wantAlign);
    }
}

TEST(GiftTrailer, OverlongLengthByteIsCutToTheCapacity) {
    TGiftInfo info;
    info.Title = std::string(64, 'T');
    info.MakerVersion = "v1.2";
    Trailer t = serializeGiftInfo(info);
    t[42] = 200;  // Title
    t[18] = 255;  // MakerVersion
    t[3341] = 40; // StartBackground
    const TGiftInfo read = parseGiftInfo(t);
    EXPECT_EQ(read.Title, std::string(64, 'T'));
    EXPECT_EQ(read.MakerVersion.size(), 15u);
    EXPECT_EQ(read.MakerVersion.substr(0, 4), "v1.2");
    EXPECT_EQ(read.StartBackground.size(), 32u);
}

TEST(GiftTrailer, TextThatDoesNotFitIsRefusedNamingTheField) {
    TGiftInfo info;
    info.Title = std::string(65, 'x');
    try {
        serializeGiftInfo(info);
        FAIL() << "a 65-character title was written";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("Title"), std::string::npos);
    }
    info.Title = std::string(64, 'x');
    EXPECT_NO_THROW(serializeGiftInfo(info));
    info.StartMessage = "party \U0001F389";
    try {
        serializeGiftInfo(info);
        FAIL() << "an emoji was written";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("StartMessage"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("U+1F389"), std::string::npos);
    }
}

TEST(GiftTrailer, TextBlockHoldsAtMost1024Bytes) {
    EXPECT_FALSE(textBlockProblem(std::string(1024, 'a')).has_value());
    EXPECT_TRUE(textBlockProblem(std::string(1025, 'a')).has_value());
    EXPECT_TRUE(textBlockProblem(std::string(1023, 'a') + "\r\n").has_value()); // a line break counts as two
    EXPECT_TRUE(textBlockProblem(std::string("a\0b", 3)).has_value());
}

TEST(GiftTrailer, LineBreaksBecomeCrLf) {
    EXPECT_EQ(toCrLfLines("a\nb\r\nc\rd\n"), "a\r\nb\r\nc\r\nd\r\n");
}

TEST(GiftLabel, MakerVersionIsCutBeforeTheFirstDot) {
    EXPECT_EQ(makerVersionLabel("v4.04"), "v4");
    EXPECT_EQ(makerVersionLabel("5"), "5");
    EXPECT_EQ(makerVersionLabel("v2.21.3"), "v2");
    EXPECT_EQ(makerVersionLabel(""), "");
}

TEST(GiftLabel, LabelNamesTheVersion) {
    EXPECT_EQ(
        giftLabelText(makerVersionLabel("v4.04")),
        "This free jigsaw gift was created by Zanthoria v4. Click on our web site below and download the "
        "free demo to see what else the latest version can do!  Or order the full-version now!");
}

TEST(GiftDate, DayCountsReadAsCalendarDates) {
    EXPECT_EQ(formatGiftDate(0.0), "1899-12-30 00:00:00");
    EXPECT_EQ(formatGiftDate(2.0), "1900-01-01 00:00:00");
    EXPECT_EQ(formatGiftDate(36526.5), "2000-01-01 12:00:00");
    EXPECT_EQ(formatGiftDate(-1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(formatGiftDate(45292.0 + 86399.6 / 86400.0), "2024-01-02 00:00:00");
    EXPECT_EQ(formatGiftDate(std::bit_cast<double>(0x7FF8000000000000ull)), "invalid date");
    EXPECT_EQ(formatGiftDate(1e300), "invalid date");
}

TEST(GiftDate, ReadableDatesReadBack) {
    EXPECT_EQ(parseGiftDate("2000-01-01 12:00:00"), 36526.5);
    EXPECT_EQ(parseGiftDate("2000-01-01T12:00"), 36526.5);
    EXPECT_EQ(parseGiftDate("1899-12-30"), 0.0);
    EXPECT_EQ(parseGiftDate("1899-12-29 06:00:00"), -1.25);
    for (const char* text : {"2024-03-05 07:08:09", "1999-12-31 23:59:59", "0001-01-01 00:00:00"}) {
        EXPECT_EQ(formatGiftDate(*parseGiftDate(text)), text);
    }
}

TEST(GiftDate, ImpossibleDatesAreRefused) {
    for (const char* text : {"", "2023-02-29", "2024-13-01", "2024-00-10", "2024-01-01 24:00", "2024-1-1",
                             "2024-01-01 12:00:60", "2024-01-01x", "0000-01-01", "yesterday"}) {
        EXPECT_FALSE(parseGiftDate(text).has_value()) << text;
    }
    EXPECT_TRUE(parseGiftDate("2024-02-29").has_value());
}

} // namespace
} // namespace zg

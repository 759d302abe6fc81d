#include "gfx/TSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace zg {
namespace {

uint32_t word(const std::vector<uint8_t>& b, std::size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

TEST(Sprite, AnAllTransparentRowIsOneRunInEightBytes) {
    const TSprite coder(true, 0);
    const uint8_t row[5] = {0, 0, 0, 0, 0};
    const std::vector<uint8_t> block = coder.encode(5, 1, row, 5);
    ASSERT_EQ(block.size(), 8u);
    EXPECT_EQ(word(block, 0), 8u);
    EXPECT_EQ(word(block, 4), 5u | uint32_t(TSprite::kTransparentRun) << 16);
}

TEST(Sprite, RowWithAnOpaqueMiddleCodesThreeRunsInEighteenBytes) {
    const TSprite coder(true, 0);
    const uint8_t row[4] = {0, 5, 5, 0};
    const std::vector<uint8_t> block = coder.encode(4, 1, row, 4);
    ASSERT_EQ(block.size(), 18u);
    EXPECT_EQ(word(block, 0), 18u);
    EXPECT_EQ(word(block, 4), 1u | 1u << 16);
    EXPECT_EQ(word(block, 8), 2u | 2u << 16);
    EXPECT_EQ(block[12], 5);
    EXPECT_EQ(block[13], 5);
    EXPECT_EQ(word(block, 14), 1u | 1u << 16);
}

TEST(Sprite, AnAllOpaqueImageCodesWithoutOverrunningItsBlock) {
    // Every pixel a run of its own: larger than the image itself.
    const TSprite coder(false, 0);
    std::vector<uint8_t> image(300 * 7);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = uint8_t(i % 2 == 0 ? 0 : 9);
    }
    const std::vector<uint8_t> block = coder.encode(300, 7, image.data(), 300);
    EXPECT_EQ(block.size(), 7u * (4 + 150 * 4 + 150 * 5));
}

TEST(Sprite, AdditiveByteIsASignedOffsetClampedPerChannel) {
    const TSprite coder(true, 0);
    const uint8_t row[1] = {186};
    const std::vector<uint8_t> block = coder.encode(1, 1, row, 1);
    Bitmap24 target(3, 3);
    target.setPixel(1, 1, rgb(50, 100, 255));
    coder.paint(block, target, nullptr, 1, 1, 1, 1);
    EXPECT_EQ(target.pixel(1, 1), rgb(0, 30, 185));
}

TEST(Sprite, ClipStartingMidRunPaintsOnlyRightOfTheClip) {
    TSprite coder(false, 0);
    const std::vector<Color> palette = {rgb(0, 0, 0), rgb(200, 10, 10), rgb(10, 200, 10)};
    coder.loadColours(palette);
    const uint8_t rows[2 * 6] = {0, 1, 2, 1, 2, 0, 0, 1, 2, 1, 2, 0};
    const std::vector<uint8_t> block = coder.encode(6, 2, rows, 6);
    Bitmap24 target(10, 10);
    target.fill(rgb(255, 255, 255));
    const Rect clip{5, 0, 10, 10}; // the opaque run covers board columns 4..7
    coder.paint(block, target, &clip, 2, 6, 3, 3);
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            Color expected = rgb(255, 255, 255);
            if ((y == 3 || y == 4) && x >= 5 && x <= 7) {
                expected = palette[rows[x - 3]];
            }
            ASSERT_EQ(target.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(Sprite, PaletteCopyStopsAtTheGivenColoursAndLeavesTheRestBlack) {
    TSprite coder(false, 0);
    const std::vector<Color> three = {rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9)};
    coder.loadColours(three);
    EXPECT_EQ(coder.colour(2), rgb(7, 8, 9));
    EXPECT_EQ(coder.colour(3), rgb(0, 0, 0));
    const std::vector<Color> many(300, rgb(9, 9, 9));
    coder.loadColours(many);
    EXPECT_EQ(coder.colour(254), rgb(9, 9, 9));
    EXPECT_EQ(coder.colour(255), rgb(0, 0, 0));
}

TEST(Sprite, DamagedOrShortBlocksPaintOnlyWhatIsWhole) {
    const TSprite coder(true, 0);
    const uint8_t rows[2 * 3] = {20, 20, 20, 20, 20, 20};
    std::vector<uint8_t> block = coder.encode(3, 2, rows, 3);
    Bitmap24 target(5, 5);
    // The second row is cut short: only the first row paints.
    block.resize(block.size() - 2);
    coder.paint(block, target, nullptr, 2, 3, 0, 0);
    EXPECT_EQ(target.pixel(2, 0), rgb(20, 20, 20));
    EXPECT_EQ(target.pixel(0, 1), rgb(0, 0, 0));
    // A row size pointing past the end paints nothing.
    std::vector<uint8_t> bad = {0xFF, 0xFF, 0, 0, 3, 0, 2, 0, 20, 20, 20};
    Bitmap24 clean(5, 5);
    coder.paint(bad, clean, nullptr, 1, 3, 0, 0);
    EXPECT_EQ(clean, Bitmap24(5, 5));
}

} // namespace
} // namespace zg

#include "gfx/SpriteBlit.h"
#include "gfx/RasterOps.h"
#include "pieces/RandomGenerator.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

TEST(SpriteBlit, GivesTheSamePixelsAsAnAndOfTheMaskThenAnOrOfTheImage) {
    RandomGenerator rng;
    rng.RandSeed = 99;
    Bitmap24 image(45, 30);
    Bitmap1 mask(45, 30);
    Bitmap24 board(60, 40);
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 45; ++x) {
            image.setPixel(x, y, Color(rng.Random(0x1000000)));
            // Long runs of either colour with some single pixels between them.
            mask.setWhite(x, y, ((x / 9 + y / 5) & 1) != 0 || rng.Random(7) == 0);
        }
    }
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 60; ++x) {
            board.setPixel(x, y, Color(rng.Random(0x1000000)));
        }
    }
    // Aligned and unaligned sources, and places that clip on every side.
    const Rect sources[] = {{0, 0, 45, 30}, {3, 1, 40, 29}, {8, 0, 16, 30}, {-5, -5, 50, 50}};
    const Point places[] = {{0, 0}, {7, 3}, {-10, -4}, {30, 25}, {55, 2}};
    for (const Rect& src : sources) {
        for (const Point at : places) {
            Bitmap24 expected = board;
            andMask(expected, at.X, at.Y, mask, src);
            orImage(expected, at.X, at.Y, image, src);
            Bitmap24 actual = board;
            blitMaskedSprite(actual, at.X, at.Y, image, mask, src);
            EXPECT_EQ(actual, expected) << src.Left << "," << src.Top << " to " << at.X << "," << at.Y;
        }
    }
}

} // namespace
} // namespace zg

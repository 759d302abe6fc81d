#include "gfx/Bitmap24.h"

#include <gtest/gtest.h>

#include <random>

namespace zg {
namespace {

TEST(Bitmap24Fill, SetsEveryPixelInsideTheClippedRectangleAndNoOther) {
    std::mt19937 rng(5);
    const auto next = [&](int32_t range) { return int32_t(rng() % uint32_t(range)); };
    Bitmap24 original(37, 23);
    for (int32_t y = 0; y < original.height(); ++y) {
        for (int32_t x = 0; x < original.width(); ++x) {
            original.setPixel(x, y, Color(rng() & 0xFFFFFF));
        }
    }
    for (int round = 0; round < 200; ++round) {
        const Rect r = Rect::fromSize(next(50) - 8, next(35) - 8, next(50), next(35));
        const Color colour = Color(rng() & 0xFFFFFF);
        Bitmap24 filled = original;
        filled.fill(r, colour);
        for (int32_t y = 0; y < original.height(); ++y) {
            for (int32_t x = 0; x < original.width(); ++x) {
                ASSERT_EQ(filled.pixel(x, y), r.contains(x, y) ? colour : original.pixel(x, y))
                    << "round " << round << " at " << x << "," << y;
            }
        }
    }
}

TEST(Bitmap24Storage, CopiesAreIndependentAndMovesLeaveAnEmptyBitmap) {
    Bitmap24 a(300, 200);
    a.setPixel(299, 199, rgb(1, 2, 3));
    Bitmap24 b = a;
    b.setPixel(0, 0, rgb(9, 9, 9));
    EXPECT_EQ(a.pixel(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(b.pixel(299, 199), rgb(1, 2, 3));
    Bitmap24 c = std::move(b);
    EXPECT_TRUE(b.isEmpty()); // NOLINT(bugprone-use-after-move): a moved-from bitmap is empty
    EXPECT_EQ(c.pixel(0, 0), rgb(9, 9, 9));
    a = c;
    EXPECT_EQ(a, c);
    Bitmap24 empty;
    a = empty;
    EXPECT_TRUE(a.isEmpty());
}

TEST(Bitmap24Storage, LargeResizedBitmapsAreBlack) {
    // Large enough for memory taken straight from the system.
    Bitmap24 big;
    big.resize(1500, 1200);
    big.fill(rgb(200, 100, 50));
    big.resize(1700, 1300);
    for (int32_t y = 0; y < big.height(); y += 97) {
        for (int32_t x = 0; x < big.width(); x += 89) {
            ASSERT_EQ(big.pixel(x, y), rgb(0, 0, 0)) << x << "," << y;
        }
    }
}

} // namespace
} // namespace zg

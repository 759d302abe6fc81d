#include "gfx/Stretch.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

Bitmap24 gradient(int32_t w, int32_t h) {
    Bitmap24 b(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            b.setPixel(x, y, rgb(uint8_t(x * 3), uint8_t(y * 5), uint8_t((x + y) & 0xFF)));
        }
    }
    return b;
}

TEST(Stretch, SameSizeIsAnExactCopy) {
    const Bitmap24 src = gradient(37, 23);
    EXPECT_EQ(stretchBitmap(src, 37, 23), src);
}

TEST(Stretch, UniformColourStaysUniformWhenShrinkingOrGrowing) {
    Bitmap24 src(97, 61);
    src.fill(rgb(201, 13, 77));
    for (auto [w, h] : {std::pair{48, 30}, std::pair{13, 7}, std::pair{291, 183}, std::pair{100, 40}}) {
        const Bitmap24 out = stretchBitmap(src, w, h);
        ASSERT_EQ(out.width(), w);
        ASSERT_EQ(out.height(), h);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                ASSERT_EQ(out.pixel(x, y), rgb(201, 13, 77)) << w << "x" << h << " at " << x << "," << y;
            }
        }
    }
}

TEST(Stretch, HalvingAveragesEachTwoByTwoBlock) {
    Bitmap24 src(4, 2);
    src.setPixel(0, 0, rgb(0, 0, 0));
    src.setPixel(1, 0, rgb(100, 0, 0));
    src.setPixel(0, 1, rgb(40, 0, 0));
    src.setPixel(1, 1, rgb(60, 8, 0));
    src.fill(Rect{2, 0, 4, 2}, rgb(10, 20, 30));
    const Bitmap24 out = stretchBitmap(src, 2, 1);
    EXPECT_EQ(out.pixel(0, 0), rgb(50, 2, 0));
    EXPECT_EQ(out.pixel(1, 0), rgb(10, 20, 30));
}

TEST(Stretch, GrowingInterpolatesBetweenPixelCentres) {
    Bitmap24 src(2, 1);
    src.setPixel(0, 0, rgb(0, 0, 0));
    src.setPixel(1, 0, rgb(200, 0, 0));
    const Bitmap24 out = stretchBitmap(src, 4, 1);
    EXPECT_EQ(redOf(out.pixel(0, 0)), 0);
    EXPECT_EQ(redOf(out.pixel(1, 0)), 50);
    EXPECT_EQ(redOf(out.pixel(2, 0)), 150);
    EXPECT_EQ(redOf(out.pixel(3, 0)), 200);
}

TEST(Stretch, EmptySourceGivesABlackBitmap) {
    const Bitmap24 out = stretchBitmap(Bitmap24(), 5, 4);
    EXPECT_EQ(out, Bitmap24(5, 4));
}

} // namespace
} // namespace zg

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

} // namespace
} // namespace zg

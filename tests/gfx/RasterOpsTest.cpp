#include "gfx/RasterOps.h"

#include <gtest/gtest.h>

#include <random>

namespace zg {
namespace {

/// Random pixels and mask bits from a fixed seed; masks mix long runs of one
/// colour (whole mask bytes) with single stray pixels.
class RandomBitmaps {
public:
    explicit RandomBitmaps(uint32_t seed) : m_rng(seed) {}

    uint32_t next(uint32_t range) { return uint32_t(m_rng() % range); }

    Bitmap24 colours(int32_t w, int32_t h) {
        Bitmap24 b(w, h);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                b.setPixel(x, y, Color(next(0x1000000)));
            }
        }
        return b;
    }
    Bitmap1 mask(int32_t w, int32_t h) {
        Bitmap1 m(w, h);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                m.setWhite(x, y, ((x / 11 + y / 3) & 1) != 0 || next(6) == 0);
            }
        }
        return m;
    }
    /// A source rectangle that may reach past the bitmap on any side.
    Rect source(int32_t w, int32_t h) {
        const int32_t left = int32_t(next(uint32_t(w + 10))) - 5;
        const int32_t top = int32_t(next(uint32_t(h + 10))) - 5;
        return Rect::fromSize(left, top, int32_t(next(uint32_t(w + 5))), int32_t(next(uint32_t(h + 5))));
    }
    /// A destination that may start left of or above the target.
    Point place(int32_t w, int32_t h) {
        return {int32_t(next(uint32_t(w + 40))) - 30, int32_t(next(uint32_t(h + 40))) - 30};
    }

private:
    std::mt19937 m_rng;
};

/// Calls visit(sourceX, sourceY, targetX, targetY) for every pixel a transfer
/// of `src` to (dx, dy) covers inside both bitmaps, pixel by pixel.
template <class Visit>
void eachPixel(const Rect& targetBounds, int32_t dx, int32_t dy, const Rect& sourceBounds, const Rect& src,
               Visit visit) {
    for (int32_t sy = src.Top; sy < src.Bottom; ++sy) {
        for (int32_t sx = src.Left; sx < src.Right; ++sx) {
            const int32_t tx = dx + sx - src.Left;
            const int32_t ty = dy + sy - src.Top;
            if (sourceBounds.contains(sx, sy) && targetBounds.contains(tx, ty)) {
                visit(sx, sy, tx, ty);
            }
        }
    }
}

TEST(RasterOps, AndMaskBlackensExactlyUnderBlackMaskPixels) {
    RandomBitmaps rnd(7);
    const Bitmap1 mask = rnd.mask(53, 37);
    const Bitmap24 board = rnd.colours(70, 50);
    for (int round = 0; round < 200; ++round) {
        const Rect src = rnd.source(mask.width(), mask.height());
        const Point at = rnd.place(board.width(), board.height());
        for (const bool inverted : {false, true}) {
            Bitmap24 expected = board;
            eachPixel(board.bounds(), at.X, at.Y, mask.bounds(), src,
                      [&](int32_t sx, int32_t sy, int32_t tx, int32_t ty) {
                          if (mask.isWhite(sx, sy) == inverted) {
                              expected.setPixel(tx, ty, rgb(0, 0, 0));
                          }
                      });
            Bitmap24 actual = board;
            andMask(actual, at.X, at.Y, mask, src, inverted);
            ASSERT_EQ(actual, expected) << "round " << round << (inverted ? " inverted" : "");
        }
    }
}

TEST(RasterOps, OrImageOrsEveryCoveredChannel) {
    RandomBitmaps rnd(8);
    const Bitmap24 image = rnd.colours(41, 29);
    const Bitmap24 board = rnd.colours(60, 40);
    for (int round = 0; round < 200; ++round) {
        const Rect src = rnd.source(image.width(), image.height());
        const Point at = rnd.place(board.width(), board.height());
        Bitmap24 expected = board;
        eachPixel(board.bounds(), at.X, at.Y, image.bounds(), src,
                  [&](int32_t sx, int32_t sy, int32_t tx, int32_t ty) {
                      expected.setPixel(tx, ty, expected.pixel(tx, ty) | image.pixel(sx, sy));
                  });
        Bitmap24 actual = board;
        orImage(actual, at.X, at.Y, image, src);
        ASSERT_EQ(actual, expected) << "round " << round;
    }
}

TEST(RasterOps, MonochromeAndAndCopyTouchOnlyTheCoveredBits) {
    RandomBitmaps rnd(9);
    const Bitmap1 mask = rnd.mask(45, 23);
    const Bitmap1 target = rnd.mask(67, 31);
    for (int round = 0; round < 300; ++round) {
        const Rect src = rnd.source(mask.width(), mask.height());
        const Point at = rnd.place(target.width(), target.height());
        Bitmap1 anded = target;
        Bitmap1 copied = target;
        eachPixel(target.bounds(), at.X, at.Y, mask.bounds(), src,
                  [&](int32_t sx, int32_t sy, int32_t tx, int32_t ty) {
                      anded.setWhite(tx, ty, anded.isWhite(tx, ty) && mask.isWhite(sx, sy));
                      copied.setWhite(tx, ty, mask.isWhite(sx, sy));
                  });
        Bitmap1 actual = target;
        andMask(actual, at.X, at.Y, mask, src);
        ASSERT_EQ(actual, anded) << "and, round " << round;
        actual = target;
        copyRect(actual, at.X, at.Y, mask, src);
        ASSERT_EQ(actual, copied) << "copy, round " << round;
    }
}

TEST(RasterOps, MonochromeCopyWithinOneBitmapReadsTheUntouchedSource) {
    RandomBitmaps rnd(10);
    const Bitmap1 original = rnd.mask(50, 20);
    // Small shifts along a row overlap inside single mask bytes.
    const Point shifts[] = {{3, 0}, {-3, 0}, {9, 0}, {-13, 0}, {5, 2}, {-2, -1}, {0, 0}};
    for (const Point d : shifts) {
        const Rect src{4, 3, 41, 17};
        Bitmap1 expected = original;
        eachPixel(original.bounds(), src.Left + d.X, src.Top + d.Y, original.bounds(), src,
                  [&](int32_t sx, int32_t sy, int32_t tx, int32_t ty) {
                      expected.setWhite(tx, ty, original.isWhite(sx, sy));
                  });
        Bitmap1 actual = original;
        copyRect(actual, src.Left + d.X, src.Top + d.Y, actual, src);
        EXPECT_EQ(actual, expected) << d.X << "," << d.Y;
    }
}

} // namespace
} // namespace zg

#include "board/TBand.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

#include <functional>

namespace zg {
namespace {

/// A canvas whose every pixel differs from its neighbours, so any stray or
/// missing inversion shows up in a comparison.
Bitmap24 patternCanvas(int32_t w, int32_t h) {
    Bitmap24 b(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            b.setPixel(x, y, rgb(uint8_t(x * 7 + y), uint8_t(x ^ y), uint8_t(y * 3 + 11)));
        }
    }
    return b;
}

Color inverted(Color c) {
    return rgb(uint8_t(~redOf(c)), uint8_t(~greenOf(c)), uint8_t(~blueOf(c)));
}

/// A host whose clock wait runs a callback, to look at the board mid-animation.
class WatchingHost : public test::FakeHost {
public:
    void waitUntilMs(int64_t deadline) override {
        if (onWait) {
            onWait();
        }
        FakeHost::waitUntilMs(deadline);
    }
    std::function<void()> onWait;
};

TEST(RubberBand, OutlineInvertsOnlyTheBorderPixels) {
    test::FakeHost host;
    Bitmap24 canvas = patternCanvas(60, 50);
    const Bitmap24 before = canvas;
    TBand band(host);
    band.BandStart(canvas, 10, 8);
    band.BandTo(30, 20);
    // Border of (10, 8, 30, 20), right and bottom exclusive.
    for (int32_t y = 0; y < 50; ++y) {
        for (int32_t x = 0; x < 60; ++x) {
            const bool inside = x >= 10 && x < 30 && y >= 8 && y < 20;
            const bool border = inside && (x == 10 || x == 29 || y == 8 || y == 19);
            const Color expected = border ? inverted(before.pixel(x, y)) : before.pixel(x, y);
            ASSERT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_FALSE(host.presented.empty());
}

TEST(RubberBand, DrawingTwiceRestoresThePixels) {
    test::FakeHost host;
    Bitmap24 canvas = patternCanvas(80, 60);
    const Bitmap24 before = canvas;
    TBand band(host);
    band.BandStart(canvas, 40, 30);
    band.BandTo(70, 55);
    band.BandTo(5, 2);     // crosses over the anchor
    band.BandTo(41, 31);   // a one-pixel square
    band.BandTo(40, 50);   // a zero-width line draws nothing
    band.BandTo(100, 100); // partly off the canvas
    EXPECT_NE(canvas, before);
    band.BandFinish();
    EXPECT_EQ(canvas, before);
}

TEST(RubberBand, DraggedUpAndLeftReturnsReleasePointAsTopLeft) {
    test::FakeHost host;
    Bitmap24 canvas(100, 100);
    TBand band(host);
    band.BandStart(canvas, 60, 70);
    band.BandTo(20, 35);
    EXPECT_EQ(band.BandFinish(), (Rect{20, 35, 60, 70}));
    EXPECT_FALSE(band.isActive());
}

TEST(RubberBand, FinishedWithoutMovingIsEmptyAtThePressPoint) {
    test::FakeHost host;
    Bitmap24 canvas = patternCanvas(20, 20);
    const Bitmap24 before = canvas;
    TBand band(host);
    band.BandStart(canvas, 7, 9);
    const Rect r = band.BandFinish();
    EXPECT_EQ(r, (Rect{7, 9, 7, 9}));
    EXPECT_TRUE(r.isEmpty());
    EXPECT_EQ(canvas, before);
    EXPECT_TRUE(host.presented.empty());
}

TEST(RubberBand, MovesAfterFinishAreIgnored) {
    test::FakeHost host;
    Bitmap24 canvas = patternCanvas(20, 20);
    TBand band(host);
    band.BandStart(canvas, 2, 2);
    band.BandTo(10, 10);
    band.BandFinish();
    const Bitmap24 after = canvas;
    band.BandTo(15, 15);
    band.BandSet({1, 1, 5, 5});
    EXPECT_EQ(canvas, after);
}

TEST(ZoomRect, FirstStepRoundsHalfToEven) {
    // Right edge: 10 + 390 / 20 = 19.5 -> 20; the others are whole numbers.
    EXPECT_EQ(TBand::zoomStep({0, 0, 10, 10}, {200, 100, 400, 250}, 1), (Rect{10, 5, 30, 22}));
    // Step 3 of the right edge: 10 + 58.5 -> 68 (ties go to the even neighbour).
    EXPECT_EQ(TBand::zoomStep({0, 0, 10, 10}, {200, 100, 400, 250}, 3).Right, 68);
}

TEST(ZoomRect, StepFormsTheFractionBeforeMultiplying) {
    // A distance of 3 moves 0.15 per step: step 10 lies at 1.5 -> 2, step 7 at 1.05 -> 1.
    EXPECT_EQ(TBand::zoomStep({0, 0, 0, 0}, {3, 3, 3, 3}, 10).Left, 2);
    EXPECT_EQ(TBand::zoomStep({0, 0, 0, 0}, {3, 3, 3, 3}, 7).Left, 1);
    // Distances near the 32-bit limit do not overflow.
    const Rect far{-2000000000, -2000000000, 2000000000, 2000000000};
    const Rect r = TBand::zoomStep(far, {2000000000, 2000000000, -2000000000, -2000000000}, 10);
    EXPECT_EQ(r, (Rect{0, 0, 0, 0}));
}

TEST(ZoomRect, DrawsTwentyFramesEndingExactlyOnTheTarget) {
    WatchingHost host;
    Bitmap24 canvas = patternCanvas(420, 260);
    const Bitmap24 before = canvas;
    TBand band(host);
    const Rect from{0, 0, 10, 10};
    const Rect to{200, 100, 400, 250};
    std::vector<Rect> frames;
    std::vector<int64_t> times;
    host.onWait = [&] {
        const Rect r{band.AnchorX, band.AnchorY, band.CurrentX, band.CurrentY};
        frames.push_back(r);
        times.push_back(host.clock);
        // The frame's outline is on the canvas: its corner pixel is inverted,
        // the pixel just inside it is not.
        EXPECT_EQ(canvas.pixel(r.Left, r.Top), inverted(before.pixel(r.Left, r.Top)));
        EXPECT_EQ(canvas.pixel(r.Left + 1, r.Top + 1), before.pixel(r.Left + 1, r.Top + 1));
    };
    band.ZoomRect(canvas, from, to);
    ASSERT_EQ(frames.size(), 20u);
    EXPECT_EQ(frames[0], (Rect{10, 5, 30, 22}));
    // Halfway at step 10: every edge has covered half its distance.
    EXPECT_EQ(frames[9], (Rect{100, 50, 205, 130}));
    EXPECT_EQ(frames[19], to);
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_EQ(times[i] - times[i - 1], 10);
    }
    EXPECT_EQ(canvas, before);
    EXPECT_FALSE(band.isActive());
}

} // namespace
} // namespace zg

#include "pieces/StylePreview.h"

#include "pieces/CutPreview.h"
#include "pieces/EdgeShapes.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kPanel = rgb(240, 240, 240);

int countRed(const Bitmap24& b) {
    int n = 0;
    for (int32_t y = 0; y < b.height(); ++y) {
        for (int32_t x = 0; x < b.width(); ++x) {
            n += b.pixel(x, y) == kRed ? 1 : 0;
        }
    }
    return n;
}

TEST(PieceSizeValidity, AcceptsCellsOfEightToSixHundredFortyPixels) {
    EXPECT_FALSE(pieceSizeValid(100, 7, 100, 1, 1));
    EXPECT_TRUE(pieceSizeValid(100, 8, 100, 1, 1));
    EXPECT_TRUE(pieceSizeValid(100, 640, 640, 1, 1));
    EXPECT_FALSE(pieceSizeValid(100, 641, 100, 1, 1));
    EXPECT_FALSE(pieceSizeValid(100, 100, 641, 1, 1));
    // 400 x 300 cut 7 x 6 at 10 %: a 5 x 5 cell.
    EXPECT_FALSE(pieceSizeValid(10, 400, 300, 7, 6));
    EXPECT_TRUE(pieceSizeValid(20, 400, 300, 7, 6)); // 11 x 10
    // The cell is (percent * size div 100) div grid: 300 % of 853 / 4 = 639.
    EXPECT_TRUE(pieceSizeValid(300, 853, 100, 4, 1));
    EXPECT_FALSE(pieceSizeValid(300, 855, 100, 4, 1)); // 641
}

TEST(PieceSizeValidity, RefusesAnEmptyGridOrNegativeSizes) {
    EXPECT_FALSE(pieceSizeValid(100, 480, 360, 0, 6));
    EXPECT_FALSE(pieceSizeValid(100, 480, 360, 8, -1));
    EXPECT_FALSE(pieceSizeValid(-100, 480, 360, 8, 6));
    EXPECT_FALSE(pieceSizeValid(100, -480, 360, 8, 6));
    // Large products do not wrap.
    EXPECT_FALSE(pieceSizeValid(300, 65535, 65535, 1, 1));
}

TEST(StylePreview, InvalidScaleDrawsNothing) {
    Bitmap24 canvas(213, 194);
    canvas.fill(kPanel);
    const Bitmap24 before = canvas;
    EXPECT_FALSE(drawStylePreview(&canvas, 10, 400, 300, 7, 6, 1, 5));
    EXPECT_EQ(canvas, before);
    EXPECT_TRUE(drawStylePreview(nullptr, 100, 400, 300, 7, 6, 1, 5));
}

TEST(StylePreview, DrawsOneFilledRedPieceOfTheCellSize) {
    for (int32_t style = 1; style <= 6; ++style) {
        for (const int32_t oddness : {0, 5, 10}) {
            Bitmap24 canvas(213, 194);
            canvas.fill(kPanel);
            // A 120 x 90 cell.
            ASSERT_TRUE(drawStylePreview(&canvas, 100, 480, 360, 4, 4, style, oddness));
            EXPECT_EQ(canvas.pixel(60, 45), kRed) << "filled, style " << style;
            EXPECT_EQ(canvas.pixel(2, 2), kPanel) << "outside, style " << style;
            EXPECT_EQ(canvas.pixel(210, 191), kPanel);
            const int area = countRed(canvas);
            EXPECT_GT(area, 120 * 90 * 6 / 10) << "style " << style << " oddness " << oddness;
            EXPECT_LT(area, 120 * 90 * 16 / 10) << "style " << style << " oddness " << oddness;
        }
    }
}

TEST(StylePreview, ClassicSampleHasKnobsLeftAndBelowAndHollowsRightAndAbove) {
    Bitmap24 canvas(213, 194);
    canvas.fill(kPanel);
    ASSERT_TRUE(drawStylePreview(&canvas, 100, 480, 360, 4, 4, kStyleClassic, 0));
    // Frame: left 30, top 22, right 150, bottom 112.
    EXPECT_EQ(canvas.pixel(22, 67), kRed);    // left knob
    EXPECT_EQ(canvas.pixel(90, 120), kRed);   // bottom knob
    EXPECT_EQ(canvas.pixel(142, 67), kPanel); // right hollow
    EXPECT_EQ(canvas.pixel(90, 30), kPanel);  // top hollow
}

TEST(StylePreview, UsesNoRandomnessAndClampsItsInputs) {
    Bitmap24 a(213, 194);
    Bitmap24 b(213, 194);
    drawStylePreview(&a, 100, 480, 360, 4, 4, 6, 7);
    drawStylePreview(&b, 100, 480, 360, 4, 4, 6, 7);
    EXPECT_EQ(a, b);
    Bitmap24 c(213, 194);
    drawStylePreview(&c, 100, 480, 360, 4, 4, 42, 7);
    EXPECT_EQ(c, a);
    Bitmap24 d(213, 194);
    Bitmap24 e(213, 194);
    drawStylePreview(&d, 100, 480, 360, 4, 4, 1, 99);
    drawStylePreview(&e, 100, 480, 360, 4, 4, 1, 10);
    EXPECT_EQ(d, e);
}

TEST(CutPreview, DrawsLinesInAContrastingColourOverThePicture) {
    CutMap map;
    map.reset(4, 2);
    map.at(1, 0) = 0x15;
    map.at(2, 1) = 0x1A;
    Bitmap24 light(4, 2);
    light.fill(rgb(250, 250, 200));
    light.setPixel(2, 1, rgb(10, 20, 30));
    const Bitmap24 out = renderCutPreview(light, map);
    EXPECT_EQ(out.pixel(1, 0), rgb(0, 0, 0));       // dark over light
    EXPECT_EQ(out.pixel(2, 1), rgb(255, 255, 255)); // light over dark
    EXPECT_EQ(out.pixel(0, 0), rgb(250, 250, 200)); // no line: picture
    EXPECT_EQ(out.pixel(3, 1), rgb(250, 250, 200));
    // A map larger than the picture is cut to the picture.
    CutMap wide;
    wide.reset(10, 10);
    wide.at(9, 9) = 0x10;
    EXPECT_EQ(renderCutPreview(light, wide), light);
}

} // namespace
} // namespace zg

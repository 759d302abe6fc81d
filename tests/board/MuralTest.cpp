#include "board/TMural.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

TEST(Mural, GradientRunsFromTheFullColourToAboutHalf) {
    test::FakeHost host;
    TMural mural(host);
    mural.SetWallSize(30, 100);
    mural.PaintWall(false, nullptr, rgb(200, 100, 50));
    EXPECT_EQ(mural.Wall().pixel(0, 0), rgb(200, 100, 50));
    EXPECT_EQ(mural.Wall().pixel(29, 0), rgb(200, 100, 50));
    EXPECT_EQ(mural.Wall().pixel(17, 99), rgb(102, 51, 25));
    // Row 50: (100 - 25) * c / 100.
    EXPECT_EQ(mural.Wall().pixel(3, 50), rgb(150, 75, 37));
}

TEST(Mural, QuantiserAlternatesBetweenNeighbouringLevels) {
    Quantiser q;
    const int expected[] = {104, 96, 104, 96};
    const int errors[] = {-4, 0, -4, 0};
    for (int i = 0; i < 4; ++i) {
        const Color c = q.quantise(rgb(100, 100, 100));
        EXPECT_EQ(redOf(c), expected[i]);
        EXPECT_EQ(blueOf(c), expected[i]);
        EXPECT_EQ(q.redError(), errors[i]);
        EXPECT_EQ(q.greenError(), errors[i]);
    }
}

TEST(Mural, QuantiserClampsAtTheTopAndResets) {
    Quantiser q;
    EXPECT_EQ(redOf(q.quantise(rgb(254, 0, 0))), 255);
    EXPECT_EQ(q.redError(), -1);
    q.reset();
    EXPECT_EQ(q.redError(), 0);
}

TEST(Mural, ShallowDisplaysGetQuantisedRows) {
    test::FakeHost host;
    host.depth = 16;
    TMural mural(host);
    mural.SetWallSize(4, 2);
    mural.PaintWall(false, nullptr, rgb(100, 100, 100));
    // Rows 0 and 1 both have the colour 100 before quantising.
    EXPECT_EQ(mural.Wall().pixel(0, 0), rgb(104, 104, 104));
    EXPECT_EQ(mural.Wall().pixel(0, 1), rgb(96, 96, 96));
}

Bitmap24 checkerPicture(int32_t w, int32_t h) {
    Bitmap24 p(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            p.setPixel(x, y, ((x + y) & 1) ? rgb(255, 255, 255) : rgb(0, 40, 90));
        }
    }
    return p;
}

TEST(Mural, ADormantGhostLeavesTheGradientExactlyAsPainted) {
    for (int depth : {16, 24}) {
        test::FakeHost host;
        host.depth = depth;
        TMural plain(host);
        plain.SetWallSize(60, 40);
        plain.PaintWall(false, nullptr, rgb(10, 200, 130));
        TMural ghost(host);
        ghost.SetWallSize(60, 40);
        const Bitmap24 picture = checkerPicture(30, 20);
        ghost.PaintWall(true, &picture, rgb(10, 200, 130));
        EXPECT_EQ(ghost.Wall(), plain.Wall()) << "depth " << depth;
    }
}

TEST(Mural, AGhostLargerThanTheWallIsCentredAndBlendedOnlyInside) {
    test::FakeHost host;
    TMural mural(host);
    mural.GhostLevel = 10;
    mural.SetWallSize(20, 10);
    // 40 x 30 picture: offset (-10, -10); wall pixel (x, y) shows picture (x + 10, y + 10).
    Bitmap24 picture(40, 30);
    picture.fill(rgb(0, 0, 0));
    picture.setPixel(10, 10, rgb(255, 255, 255));
    mural.PaintWall(true, &picture, rgb(100, 100, 100));
    // Black lifts to 0 - (-127 / 2) + 20 = 83; white to 255 - 64 + 20 = 211, clamped.
    // Row 0 background is 100: 100 + floor((83 - 100) * 120 / 128) = 84.
    EXPECT_EQ(mural.Wall().pixel(1, 0), rgb(84, 84, 84));
    // 100 + floor((211 - 100) * 120 / 128) = 204.
    EXPECT_EQ(mural.Wall().pixel(0, 0), rgb(204, 204, 204));
}

} // namespace
} // namespace zg

#include "gfx/PictureFit.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

// ---- Fit ----

TEST(PictureFit, WidePictureTakesTheFullWidth) {
    // 400 x 100 in 1024 x 768: 100 x 1024 / 400 = 256 fits in 768.
    EXPECT_EQ(fitPicture(400, 100, 1024, 768), (Point{1024, 256}));
}

TEST(PictureFit, TallPictureTakesTheFullHeight) {
    // 300 x 300 in 1024 x 768: 1024 high does not fit, so 300 x 768 / 300 = 768 wide.
    EXPECT_EQ(fitPicture(300, 300, 1024, 768), (Point{768, 768}));
    EXPECT_EQ(fitPicture(100, 400, 1024, 768), (Point{192, 768}));
}

TEST(PictureFit, SameProportionsFillTheAreaExactly) {
    // 300 x 1024 / 400 = 768: a height equal to the area counts as fitting.
    EXPECT_EQ(fitPicture(400, 300, 1024, 768), (Point{1024, 768}));
}

TEST(PictureFit, SidesAreTruncated) {
    // 333 x 500 / 1000 = 166.5 -> 166.
    EXPECT_EQ(fitPicture(1000, 333, 500, 400), (Point{500, 166}));
    // 3 x 10 / 7 = 4.28 -> 4, which fits in 4.
    EXPECT_EQ(fitPicture(7, 3, 10, 4), (Point{10, 4}));
    // 3 x 10 / 7 = 4 does not fit in 3: width 7 x 3 / 3 = 7.
    EXPECT_EQ(fitPicture(7, 3, 10, 3), (Point{7, 3}));
}

TEST(PictureFit, LargePicturesDoNotOverflow) {
    // 65535 x 65535 in 65535 x 40000: the products pass the 32-bit range.
    EXPECT_EQ(fitPicture(65535, 65535, 65535, 40000), (Point{40000, 40000}));
    EXPECT_EQ(fitPicture(1, 65535, 65535, 65535), (Point{1, 65535}));
}

TEST(PictureFit, EmptyPictureOrAreaGivesNothing) {
    EXPECT_EQ(fitPicture(0, 300, 1024, 768), (Point{0, 0}));
    EXPECT_EQ(fitPicture(400, 0, 1024, 768), (Point{0, 0}));
    EXPECT_EQ(fitPicture(0, 0, 1024, 768), (Point{0, 0}));
    EXPECT_EQ(fitPicture(400, 300, 0, 768), (Point{0, 0}));
    EXPECT_EQ(fitPicture(400, 300, 1024, 0), (Point{0, 0}));
    EXPECT_EQ(fitPicture(-4, 300, 1024, 768), (Point{0, 0}));
    EXPECT_EQ(fitPicture(400, 300, 1024, -1), (Point{0, 0}));
}

// ---- Place ----

TEST(PicturePlace, MatchingProportionsFillTheScreenWithoutMargin) {
    EXPECT_EQ(placePicture(400, 300, 1024, 768, 10), (Rect{0, 0, 1024, 768}));
}

TEST(PicturePlace, SquareOnWideScreenIsCentredNotStretched) {
    // Offset (1024 - 768) / 2 = 128 is above 10 % of 1024 (102).
    EXPECT_EQ(placePicture(300, 300, 1024, 768, 10), (Rect{128, 0, 896, 768}));
}

TEST(PicturePlace, SmallMarginIsStretchedAway) {
    // 1000 x 700 on 1024 x 768: 716 high at offset 26, below 76, so the full height.
    EXPECT_EQ(placePicture(1000, 700, 1024, 768, 10), (Rect{0, 0, 1024, 768}));
    // 700 x 700 on 1024 x 768: 768 wide at offset 128, below a 13 % margin (133).
    EXPECT_EQ(placePicture(700, 700, 1024, 768, 13), (Rect{0, 0, 1024, 768}));
}

TEST(PicturePlace, OffsetEqualToTheMarginIsKept) {
    // 80 x 100 on 100 x 100: 80 wide at offset 10, which equals 10 % of 100.
    EXPECT_EQ(placePicture(80, 100, 100, 100, 10), (Rect{10, 0, 90, 100}));
    // 78 wide at offset 11 with an 11 % margin likewise.
    EXPECT_EQ(placePicture(78, 100, 100, 100, 11), (Rect{11, 0, 89, 100}));
    // One pixel wider: offset 9 is below 10, so the full width.
    EXPECT_EQ(placePicture(82, 100, 100, 100, 10), (Rect{0, 0, 100, 100}));
}

TEST(PicturePlace, WidePictureIsCentredVertically) {
    // 400 x 100 on 1024 x 768: 1024 x 256 at vertical offset 256, above 76.
    EXPECT_EQ(placePicture(400, 100, 1024, 768, 10), (Rect{0, 256, 1024, 512}));
}

TEST(PicturePlace, OddLeftoverRoundsTheOffsetDown) {
    // 100 wide on 301: offset 201 / 2 = 100; 99 wide on 300: offset 201 / 2 = 100.
    EXPECT_EQ(placePicture(100, 101, 301, 101, 10), (Rect{100, 0, 200, 101}));
    EXPECT_EQ(placePicture(99, 101, 300, 101, 10), (Rect{100, 0, 199, 101}));
}

TEST(PicturePlace, ZeroMarginOnlyCentres) {
    EXPECT_EQ(placePicture(1000, 700, 1024, 768, 0), (Rect{0, 26, 1024, 742}));
}

TEST(PicturePlace, EmptyPictureOrAreaGivesAnEmptyRectangle) {
    EXPECT_TRUE(placePicture(0, 300, 1024, 768, 10).isEmpty());
    EXPECT_TRUE(placePicture(400, 0, 1024, 768, 60).isEmpty());
    EXPECT_TRUE(placePicture(400, 300, 0, 0, 10).isEmpty());
    EXPECT_TRUE(placePicture(400, 300, 1024, 0, 10).isEmpty());
}

} // namespace
} // namespace zg

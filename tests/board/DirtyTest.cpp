#include "board/TDirty.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

Bitmap24 patternBoard(int32_t w, int32_t h) {
    Bitmap24 b(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            b.setPixel(x, y, rgb(uint8_t(x * 5 + y), uint8_t(x ^ (y * 3)), uint8_t(y * 7 + 1)));
        }
    }
    return b;
}

/// A 10 x 10 sprite: a solid square of colour `c` inside a black margin of 2,
/// with the matching mask (black on the square).
struct Sprite {
    explicit Sprite(Color c) : image(10, 10), mask(10, 10) {
        image.fill(Rect{2, 2, 8, 8}, c);
        mask.fill(Rect{2, 2, 8, 8}, false);
    }
    Bitmap24 image;
    Bitmap1 mask;
};

class Compositor : public ::testing::Test {
protected:
    void SetUp() override {
        board = patternBoard(200, 120);
        original = board;
        dirty.SetBoard(board);
    }
    /// One animation frame of the sprite at (x, y).
    void frame(int32_t x, int32_t y) {
        dirty.EraseSprites();
        dirty.DrawMaskedSprite(Rect::fromSize(x, y, 10, 10), sprite.image, sprite.mask, {0, 0, 10, 10});
        host.presented.clear();
        dirty.Flush();
    }

    test::FakeHost host;
    Bitmap24 board;
    Bitmap24 original;
    TDirty dirty{host};
    Sprite sprite{rgb(255, 0, 0)};
};

TEST_F(Compositor, OverlappingOldAndNewRectanglesGoToTheScreenAsOneCopy) {
    dirty.ResetLists();
    frame(20, 30);
    frame(25, 33);
    ASSERT_EQ(host.presented.size(), 1u);
    EXPECT_EQ(host.presented[0], (Rect{20, 30, 35, 43}));
}

TEST_F(Compositor, FarApartRectanglesGoToTheScreenAsTwoCopies) {
    dirty.ResetLists();
    frame(20, 30);
    frame(120, 80);
    ASSERT_EQ(host.presented.size(), 2u);
    EXPECT_EQ(host.presented[0], Rect::fromSize(20, 30, 10, 10));
    EXPECT_EQ(host.presented[1], Rect::fromSize(120, 80, 10, 10));
}

TEST_F(Compositor, MaskedDrawKeepsTheBoardOutsideTheSpriteShape) {
    dirty.ResetLists();
    frame(40, 50);
    EXPECT_EQ(board.pixel(45, 55), rgb(255, 0, 0));
    // The black margin of the image is transparent.
    EXPECT_EQ(board.pixel(40, 50), original.pixel(40, 50));
    EXPECT_EQ(board.pixel(49, 59), original.pixel(49, 59));
}

TEST_F(Compositor, ErasingAFrameRestoresTheBackgroundExactly) {
    dirty.ResetLists();
    frame(10, 10);
    frame(14, 12);
    frame(190, 110); // partly off the board
    dirty.EraseSprites();
    EXPECT_EQ(board, original);
}

TEST_F(Compositor, OpaqueDrawCopiesTheImageAndErasesCleanly) {
    dirty.ResetLists();
    dirty.DrawSprite(Rect::fromSize(60, 60, 10, 10), sprite.image, {0, 0, 10, 10});
    EXPECT_EQ(board.pixel(60, 60), rgb(0, 0, 0));
    EXPECT_EQ(board.pixel(65, 65), rgb(255, 0, 0));
    dirty.EraseSprites();
    EXPECT_EQ(board, original);
}

TEST_F(Compositor, DrawsPastTheSixteenthChangeNothing) {
    dirty.ResetLists();
    for (int i = 0; i < TDirty::kMaxRects; ++i) {
        dirty.DrawMaskedSprite(Rect::fromSize(i * 12, 0, 10, 10), sprite.image, sprite.mask, {0, 0, 10, 10});
    }
    EXPECT_EQ(dirty.CurrentCount(), 16);
    const Bitmap24 before = board;
    dirty.DrawMaskedSprite(Rect::fromSize(50, 80, 10, 10), sprite.image, sprite.mask, {0, 0, 10, 10});
    dirty.DrawSprite(Rect::fromSize(80, 80, 10, 10), sprite.image, {0, 0, 10, 10});
    EXPECT_EQ(board, before);
    EXPECT_EQ(dirty.CurrentCount(), 16);
    dirty.EraseSprites();
    EXPECT_EQ(board, original);
}

TEST_F(Compositor, EraseWithNothingDrawnLeavesNothingToShow) {
    dirty.ResetLists();
    dirty.EraseSprites();
    dirty.Flush();
    EXPECT_TRUE(host.presented.empty());
    EXPECT_EQ(dirty.PreviousCount(), 0);
}

TEST_F(Compositor, CommittedContentBecomesBackground) {
    dirty.ResetLists();
    board.fill(Rect{100, 100, 110, 110}, rgb(0, 255, 0));
    dirty.CommitRect(Rect{100, 100, 110, 110});
    frame(102, 102);
    dirty.EraseSprites();
    EXPECT_EQ(board.pixel(104, 104), rgb(0, 255, 0));
    EXPECT_EQ(dirty.Background(), board);
}

TEST(MergeRects, ACurrentRectangleJoiningTwoPreviousOnesAbsorbsThemAndLeavesTheOtherAlone) {
    const Rect previous[3] = {{0, 0, 10, 10}, {100, 100, 110, 110}, {30, 0, 40, 10}};
    const Rect current[1] = {{5, 2, 35, 8}};
    Rect buffer[TDirty::kMergeCapacity];
    int32_t m = TDirty::MergeRects(previous, 3, buffer, 0);
    ASSERT_EQ(m, 3);
    m = TDirty::MergeRects(current, 1, buffer, m);
    ASSERT_EQ(m, 3);
    EXPECT_EQ(buffer[0], (Rect{0, 0, 40, 10}));
    EXPECT_EQ(buffer[1], (Rect{100, 100, 110, 110}));
    EXPECT_TRUE(TDirty::isDead(buffer[2]));
}

TEST(MergeRects, EmptyRectanglesAreKeptApartAndMeetNothing) {
    const Rect source[3] = {{5, 5, 5, 20}, {0, 0, 10, 10}, {2, 2, 2, 2}};
    Rect buffer[TDirty::kMergeCapacity];
    EXPECT_EQ(TDirty::MergeRects(source, 3, buffer, 0), 3);
    EXPECT_EQ(buffer[1], (Rect{0, 0, 10, 10}));
}

TEST(MergeRects, IsASinglePassThatMayLeaveGrownEntriesOverlapping) {
    // The third source meets only the tall first entry, but their bounding box
    // reaches over the second entry; the pass does not go back to merge it.
    const Rect source[3] = {{0, 0, 10, 30}, {20, 20, 30, 30}, {5, 0, 40, 5}};
    Rect buffer[TDirty::kMergeCapacity];
    const int32_t m = TDirty::MergeRects(source, 3, buffer, 0);
    ASSERT_EQ(m, 2);
    EXPECT_EQ(buffer[0], (Rect{0, 0, 40, 30}));
    EXPECT_EQ(buffer[1], (Rect{20, 20, 30, 30}));
    EXPECT_FALSE(TDirty::isDead(buffer[1]));
}

} // namespace
} // namespace zg

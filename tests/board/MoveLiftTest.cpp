#include "MoveTestPuzzle.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zg {
namespace {

using test::MoveTestPuzzle;

bool contains(const PieceList& list, const TFormPiece& p) {
    return std::find(list.begin(), list.end(), &p) != list.end();
}

TEST(MoveLift, LiftingShowsTheSpriteWherePiecesWere) {
    MoveTestPuzzle t(3, 2, 40, 30, 300, 200);
    t.join({0, 1, 4}); // an L of three pieces, at their home places
    t.redrawAll();
    const Bitmap24 before = t.move->BackBuffer;

    const Point c = t.centreOf(0);
    ASSERT_TRUE(t.move->LiftAt(t.move->mainArea(), c.X, c.Y));
    EXPECT_EQ(t.move->MovingPieces.size(), 3u);
    for (int32_t i : {0, 1, 4}) {
        EXPECT_TRUE(t.piece(i).Hidden) << i;
    }
    // Without shadows the sprite composes to exactly the old board...
    EXPECT_EQ(t.move->BackBuffer, before);
    // ...while the board under it no longer holds the pieces.
    const Point mid = t.centreOf(4);
    EXPECT_NE(t.move->Compositor.Background().pixel(mid.X, mid.Y), before.pixel(mid.X, mid.Y));
    EXPECT_EQ(t.move->Compositor.Background().pixel(mid.X, mid.Y), t.move->Mural.Wall().pixel(mid.X, mid.Y));
    EXPECT_TRUE(t.move->JustLifted);
    EXPECT_EQ(t.move->LiftOrigin, (Point{0, 0}));
    EXPECT_EQ(t.move->MoveRect, (Rect{0, 0, 80, 60}));
}

TEST(MoveLift, GroupComesToTheFrontWithOneFreshNumber) {
    MoveTestPuzzle t(3, 2, 40, 30, 300, 200);
    t.join({3, 4});
    t.redrawAll();
    const int32_t next = t.move->State.NextGroupId;
    t.move->LiftGroup(&t.piece(4));
    EXPECT_EQ(t.piece(3).GroupId, next);
    EXPECT_EQ(t.piece(4).GroupId, next);
    EXPECT_EQ(t.move->State.NextGroupId, next + 1);
    EXPECT_EQ(t.move->MovingPieces.front(), &t.piece(4));
    EXPECT_EQ(t.move->DragAnchor, nullptr);
}

TEST(MoveLift, LiftAtMissesTheTransparentCornerOfAPiece) {
    MoveTestPuzzle t(2, 1, 40, 40, 200, 200);
    t.piece(0).Left = 50;
    t.piece(0).Top = 50;
    t.redrawAll();
    EXPECT_FALSE(t.move->LiftAt(t.move->mainArea(), 51, 51));
    EXPECT_FALSE(t.move->IsLifted());
    EXPECT_TRUE(t.move->LiftAt(t.move->mainArea(), 70, 70));
}

TEST(MoveLift, ShadowLiesOffsetBelowRightOfTheSilhouette) {
    MoveTestPuzzle t(1, 1, 60, 50, 200, 200);
    t.move->Config.ShadowsOn = true;
    t.piece(0).Left = 40;
    t.piece(0).Top = 30;
    t.redrawAll();
    t.move->LiftSingle(t.piece(0));
    EXPECT_EQ(t.move->LiftOffset, 5); // 50 / 10
    EXPECT_EQ(t.move->MoveRect, (Rect{40, 30, 105, 85}));
    // The piece's centre row, just past its right edge: inside the shadow.
    const int32_t y = 30 + 25;
    EXPECT_EQ(t.move->BackBuffer.pixel(40 + 60 + 2, y), rgb(0, 0, 0));
    EXPECT_NE(t.move->Compositor.Background().pixel(40 + 60 + 2, y), rgb(0, 0, 0));
    // The transparent top-left corner of the piece's box shows the board.
    EXPECT_EQ(t.move->BackBuffer.pixel(41, 31), t.move->Mural.Wall().pixel(41, 31));
    // The piece itself is drawn over its own shadow.
    EXPECT_EQ(t.move->BackBuffer.pixel(70, 55), MoveTestPuzzle::colourOf(0));
}

TEST(MoveLift, ShadowOffsetIsATenthOfThePieceHeightWithinTwoToTen) {
    MoveTestPuzzle t(1, 1, 20, 20, 100, 100);
    t.move->State.PieceHeight = 150;
    EXPECT_EQ(t.move->shadowOffset(), 10);
    t.move->State.PieceHeight = 15;
    EXPECT_EQ(t.move->shadowOffset(), 2);
    t.move->State.PieceHeight = 400;
    EXPECT_EQ(t.move->shadowOffset(), 10);
    t.move->State.PieceHeight = 64;
    EXPECT_EQ(t.move->shadowOffset(), 6);
}

TEST(MoveLift, WoodSidesBelongToTheSpriteMask) {
    MoveTestPuzzle t(1, 1, 40, 40, 200, 200);
    t.move->Config.OutlineStyle = 3;
    t.move->WoodThickness = 4;
    t.piece(0).Left = 10;
    t.piece(0).Top = 10;
    t.redrawAll();
    t.move->LiftSingle(t.piece(0));
    EXPECT_EQ(t.move->MoveRect.height(), 44);
    // The bottom of the ellipse at its centre column is at row 39; the side
    // face reaches four rows below it, no further.
    EXPECT_FALSE(t.move->SpriteMask.isWhite(20, 39 + 4));
    EXPECT_TRUE(t.move->SpriteMask.isWhite(20, 39 + 5));
}

TEST(MoveLift, BandLiftsOnlyLoosePiecesWhollyInsideTheGrownRectangle) {
    // Pieces 30 x 30: the band grows by 10 on every side.
    MoveTestPuzzle t(3, 2, 30, 30, 400, 300);
    auto place = [&](int32_t i, int32_t x, int32_t y) {
        t.piece(i).Left = x;
        t.piece(i).Top = y;
    };
    place(0, 100, 100); // inside the band
    place(1, 165, 100); // sticks out 5 to the right: inside the grown band
    place(2, 100, 175); // sticks out 15 at the bottom: outside
    place(3, 120, 130); // joined with 4, both inside: never band-selected
    place(4, 150, 130);
    place(5, 60, 100); // sticks out 10 to the left: exactly on the grown edge
    t.piece(3).Joined = t.piece(4).Joined = true;
    t.piece(4).GroupId = t.piece(3).GroupId;
    t.redrawAll();

    ASSERT_TRUE(t.move->LiftInBand(0, {70, 90, 190, 190}));
    const PieceList& lifted = t.move->MovingPieces;
    EXPECT_EQ(lifted.size(), 3u);
    EXPECT_TRUE(contains(lifted, t.piece(0)));
    EXPECT_TRUE(contains(lifted, t.piece(1)));
    EXPECT_TRUE(contains(lifted, t.piece(5)));
    // Each kept its own group, all above every other group.
    EXPECT_NE(t.piece(0).GroupId, t.piece(1).GroupId);
    EXPECT_NE(t.piece(1).GroupId, t.piece(5).GroupId);
    EXPECT_GT(std::min({t.piece(0).GroupId, t.piece(1).GroupId, t.piece(5).GroupId}), t.piece(3).GroupId);
}

TEST(MoveLift, BandIgnoresPiecesOfOtherTrays) {
    MoveTestPuzzle t(2, 1, 30, 30, 400, 300);
    TBox& tray = t.move->addTray(1);
    t.move->TransferPieces({&t.piece(1)}, tray);
    t.redrawAll();
    EXPECT_TRUE(t.move->LiftInBand(0, {0, 0, 400, 300}));
    EXPECT_EQ(t.move->MovingPieces, PieceList{&t.piece(0)});
}

TEST(MoveLift, EmptyBandLiftsNothing) {
    MoveTestPuzzle t(2, 1, 30, 30, 400, 300);
    const Bitmap24 before = t.move->BackBuffer;
    EXPECT_FALSE(t.move->LiftInBand(0, {300, 200, 310, 210}));
    EXPECT_FALSE(t.move->IsLifted());
    EXPECT_EQ(t.move->BackBuffer, before);
}

TEST(MoveLift, SecondLiftPutsTheHeldOneBackFirst) {
    MoveTestPuzzle t(3, 1, 30, 30, 300, 200);
    t.piece(2).Left = 200;
    t.redrawAll();
    const Bitmap24 before = t.move->BackBuffer;
    t.move->LiftSingle(t.piece(0));
    t.move->LiftSingle(t.piece(2));
    EXPECT_FALSE(t.piece(0).Hidden);
    EXPECT_TRUE(t.piece(2).Hidden);
    t.move->PutBack();
    EXPECT_EQ(t.move->BackBuffer, before);
}

TEST(MoveLift, PieceInSpriteFollowsTheSprite) {
    MoveTestPuzzle t(2, 1, 40, 40, 300, 200);
    t.join({0, 1});
    t.redrawAll();
    t.move->LiftGroup(&t.piece(0));
    t.move->MovePiecesTo(100, 50);
    EXPECT_EQ(t.move->PieceInSprite(100 + 60, 50 + 20), &t.piece(1));
    EXPECT_EQ(t.move->PieceInSprite(100 + 20, 50 + 20), &t.piece(0));
    EXPECT_EQ(t.move->PieceInSprite(60, 20), nullptr);  // where piece 1 lay before
    EXPECT_EQ(t.move->PieceInSprite(101, 51), nullptr); // a transparent corner
}

} // namespace
} // namespace zg

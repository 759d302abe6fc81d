#include "pieces/TFormPiece.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

TEST(TFormPiece, NewRecordIsZeroButForItsIndex) {
    const TFormPiece p(0);
    EXPECT_EQ(p.Index, 0);
    EXPECT_EQ(p.boardRect(), Rect{});
    EXPECT_EQ(p.GroupId, 0);
    EXPECT_FALSE(p.Joined || p.Placed || p.Hidden || p.Settled);
    EXPECT_TRUE(p.OutlineSprite.empty());
    EXPECT_TRUE(p.WoodSprite.empty());
    EXPECT_EQ(TFormPiece(17).Index, 17);
}

TEST(TFormPiece, RestoringAStoredPositionOnTheSameRectangleGivesItBack) {
    const Rect boards[] = {{0, 0, 603, 401}, {10, 20, 333, 250}, {-40, 5, 900, 700}};
    for (const Rect& board : boards) {
        for (int x = board.Left - 30; x < board.Right + 30; x += 37) {
            TFormPiece p(1);
            p.setPosition(x, x / 2 + 3, board, 480, 360);
            p.Left = p.Top = 9999;
            p.restorePosition(board, 480, 360);
            EXPECT_EQ(p.Left, x);
            EXPECT_EQ(p.Top, x / 2 + 3);
        }
    }
}

TEST(TFormPiece, RestoreScalesWithTheBoard) {
    TFormPiece p(0);
    p.setPosition(100, 50, {0, 0, 400, 200}, 400, 200);
    p.restorePosition({0, 0, 800, 400}, 400, 200);
    EXPECT_EQ(p.Left, 200);
    EXPECT_EQ(p.Top, 100);
}

TEST(TFormPiece, RestoreRoundsHalvesToEven) {
    TFormPiece p(0);
    p.RelX = 1.25; // 1.25 * 2 = 2.5 -> 2
    p.RelY = 1.75; // 3.5 -> 4
    p.restorePosition({0, 0, 200, 200}, 100, 100);
    EXPECT_EQ(p.Left, 2);
    EXPECT_EQ(p.Top, 4);
}

TEST(TFormPiece, EmptyBoardOrDamagedValuesKeepThePosition) {
    TFormPiece p(0);
    p.Left = 10;
    p.Top = 20;
    p.RelX = 3.0;
    p.storePosition({5, 5, 5, 100}, 480, 360);
    EXPECT_EQ(p.RelX, 3.0);
    p.RelX = std::numeric_limits<double>::quiet_NaN();
    p.restorePosition({0, 0, 100, 100}, 480, 360);
    EXPECT_EQ(p.Left, 10);
    p.RelX = 1e300;
    p.restorePosition({0, 0, 100, 100}, 480, 360);
    EXPECT_EQ(p.Left, 10);
}

// Two horizontally adjacent pieces of a 2 x 1 grid: b's home is 50 px right of a's.
struct PairFixture {
    TFormPiece a{0}, b{1};
    PairFixture(uint8_t rotation) {
        a.HomeX = 0;
        a.HomeY = 0;
        b.HomeX = 50;
        b.HomeY = 4;
        a.Rotation = b.Rotation = rotation;
        const bool odd = rotation & 1;
        a.Width = odd ? 60 : 58;
        a.Height = odd ? 58 : 60;
        b.Width = odd ? 62 : 55;
        b.Height = odd ? 55 : 62;
        a.Left = 200;
        a.Top = 100;
    }
};

TEST(TFormPiece, PositionNextToANeighbourForEveryTurn) {
    // Upright, b sits 50 right and 4 down of a.
    PairFixture r0(0);
    EXPECT_EQ(r0.b.positionNextTo(r0.a), (Point{250, 104}));
    // A quarter turn clockwise maps home offset (dx, dy) to (-dy, dx) measured
    // from the turned box's top-right corner.
    PairFixture r1(1);
    EXPECT_EQ(r1.b.positionNextTo(r1.a), (Point{200 + 60 - 4 - 62, 100 + 50}));
    PairFixture r2(2);
    EXPECT_EQ(r2.b.positionNextTo(r2.a), (Point{200 + 58 - 50 - 55, 100 + 60 - 4 - 62}));
    PairFixture r3(3);
    EXPECT_EQ(r3.b.positionNextTo(r3.a), (Point{200 + 4, 100 + 58 - 50 - 55}));
}

TEST(TFormPiece, RotationIsUsedModuloFour) {
    PairFixture r(1);
    r.a.Rotation = 5;
    EXPECT_EQ(r.b.positionNextTo(r.a), (Point{200 + 60 - 4 - 62, 100 + 50}));
}

TEST(TFormPiece, ListOperationsTouchEveryListedPiece) {
    TFormPiece a(0), b(1), c(2);
    PieceList list{&a, &c};
    setHidden(list, true);
    setPlaced(list, true);
    offsetPieces(list, 3, -2);
    EXPECT_TRUE(a.Hidden && c.Hidden && !b.Hidden);
    EXPECT_TRUE(a.Placed && c.Placed && !b.Placed);
    EXPECT_EQ(c.Left, 3);
    EXPECT_EQ(c.Top, -2);
    EXPECT_EQ(b.Left, 0);
}

} // namespace
} // namespace zg

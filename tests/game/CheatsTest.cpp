#include "game/TJigsaw.h"

#include "InputTestPuzzle.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

using test::InputTestPuzzle;

/// Joins pieces a and b into one group the way a drop does.
void join(InputTestPuzzle& t, int32_t a, int32_t b) {
    Rect dirty;
    t.jig.JoinPieces(t.piece(a), t.piece(b), dirty);
    t.redrawAll();
}

TEST(Unlock, OnePieceOfATwoPieceGroupUnjoinsBoth) {
    InputTestPuzzle t(3, 1);
    join(t, 0, 1);
    ASSERT_EQ(t.jig.State.SolvedCount, 2);
    const Point at = t.centreOf(1);
    t.host.popupAnswer = PopupCommand::Unlock;
    t.press(MouseButton::Right, at);
    EXPECT_FALSE(t.piece(0).Joined);
    EXPECT_FALSE(t.piece(1).Joined);
    EXPECT_NE(t.piece(0).GroupId, t.piece(1).GroupId);
    EXPECT_EQ(t.jig.State.SolvedCount, 0);
    // The unlocked piece stays where it was, and now drags alone.
    EXPECT_EQ(t.centreOf(1), at);
    const Point left = Point{t.piece(0).Left, t.piece(0).Top};
    t.drag(at, {at.X + 150, at.Y + 150});
    EXPECT_EQ((Point{t.piece(0).Left, t.piece(0).Top}), left);
    EXPECT_EQ(t.centreOf(1), (Point{at.X + 150, at.Y + 150}));
}

TEST(Unlock, OnePieceOfALargerGroupLeavesTheRestJoined) {
    InputTestPuzzle t(3, 1);
    join(t, 0, 1);
    join(t, 1, 2);
    ASSERT_EQ(t.jig.State.SolvedCount, 3);
    t.host.popupAnswer = PopupCommand::Unlock;
    t.press(MouseButton::Right, t.centreOf(2));
    EXPECT_FALSE(t.piece(2).Joined);
    EXPECT_TRUE(t.piece(0).Joined);
    EXPECT_TRUE(t.piece(1).Joined);
    EXPECT_EQ(t.jig.State.SolvedCount, 2);
}

TEST(SendToBack, TheGroupIsPaintedUnderEveryOtherPiece) {
    InputTestPuzzle t(2, 1);
    // Piece 1 lies over half of piece 0 and is painted on top.
    t.place(0, 100, 100);
    t.place(1, 130, 100);
    t.piece(1).GroupId = 5;
    t.redrawAll();
    const Point overlap{150, 120};
    const Color colour1 = t.jig.BackBuffer.pixel(overlap.X, overlap.Y);
    ASSERT_EQ(colour1, rgb(60, 120, 200));
    t.host.popupAnswer = PopupCommand::SendToBack;
    t.press(MouseButton::Right, {165, 120});
    EXPECT_EQ(t.jig.BackBuffer.pixel(overlap.X, overlap.Y), rgb(40, 120, 200));
    EXPECT_LT(t.piece(1).GroupId, t.piece(0).GroupId);
    EXPECT_EQ(t.jig.mainArea().Pieces.front(), &t.piece(1));
}

bool presentedOver(const test::FakeHost& host, const Rect& r) {
    for (const Rect& shown : host.presented) {
        if (shown.contains(r.Left + r.width() / 2, r.Top + r.height() / 2)) {
            return true;
        }
    }
    return false;
}

TEST(Hint, FlashesAPieceAndItsNeighbourEightTimesEachAndCounts) {
    InputTestPuzzle t(2, 1);
    t.place(0, 50, 50);
    t.place(1, 400, 300);
    t.redrawAll();
    t.jig.FlashHint();
    EXPECT_EQ(t.jig.State.CheatCount, 1);
    // Sixteen flashes, each shown for 50 ms and hidden for 50 ms.
    EXPECT_EQ(t.host.clock, 16 * 2 * 50);
    EXPECT_TRUE(presentedOver(t.host, t.piece(0).boardRect()));
    EXPECT_TRUE(presentedOver(t.host, t.piece(1).boardRect()));
    // The shadows were on for the flashes only; nothing stays lifted.
    EXPECT_FALSE(t.jig.Config.ShadowsOn);
    EXPECT_FALSE(t.jig.IsLifted());
    EXPECT_FALSE(t.piece(0).Hidden);
    EXPECT_EQ((Point{t.piece(1).Left, t.piece(1).Top}), (Point{400, 300}));
}

TEST(Hint, OnASolvedPuzzleDoesNothingAndACountAtItsTopStaysThere) {
    InputTestPuzzle t(2, 1);
    join(t, 0, 1);
    t.jig.FlashHint();
    EXPECT_EQ(t.jig.State.CheatCount, 0);
    EXPECT_EQ(t.host.clock, 0);

    InputTestPuzzle u(2, 1);
    u.jig.State.CheatCount = 65535;
    u.jig.FlashHint();
    EXPECT_EQ(u.jig.State.CheatCount, 65535);
}

TEST(FetchNeighbour, ShiftClickGlidesTheNeighbourInAndJoinsIt) {
    InputTestPuzzle t(2, 1);
    t.place(0, 100, 100);
    t.place(1, 400, 300);
    t.redrawAll();
    t.host.shift = true;
    // Left of piece 0's centre: its only neighbour is the one to its right.
    t.press(MouseButton::Left, {t.centreOf(0).X - 10, t.centreOf(0).Y});
    EXPECT_EQ(t.jig.State.CheatCount, 1);
    EXPECT_TRUE(t.piece(1).Joined);
    EXPECT_EQ(t.piece(0).GroupId, t.piece(1).GroupId);
    EXPECT_EQ(t.jig.State.SolvedCount, 2);
    EXPECT_EQ((Point{t.piece(1).Left, t.piece(1).Top}), (Point{160, 100}));
    EXPECT_EQ(t.jig.BackBuffer.pixel(190, 120), rgb(60, 120, 200));
}

TEST(AutoSolveSpeed, TenNeverWaitsAndOneWaitsNineMillisecondsAPixel) {
    InputTestPuzzle t(2, 1);
    t.place(0, 100, 100);
    t.place(1, 360, 100); // 200 pixels right of its place against piece 0
    t.redrawAll();
    EXPECT_TRUE(t.jig.BringNeighbour(t.piece(0), t.piece(1), true, 10));
    EXPECT_EQ(t.host.clock, 0);
    t.jig.PutBack();
    EXPECT_TRUE(t.jig.BringNeighbour(t.piece(0), t.piece(1), true, 1));
    EXPECT_GE(t.host.clock, 9 * 200);
    EXPECT_LE(t.host.clock, 9 * 201);
    EXPECT_EQ(t.jig.SpritePos(), (Point{160, 100}));
}

TEST(AutoSolve, SolvesEveryPieceAndRemarksIt) {
    InputTestPuzzle t(3, 2);
    const Point scattered[] = {{20, 300}, {500, 40}, {300, 380}, {90, 30}, {540, 400}, {250, 150}};
    for (int32_t i = 0; i < 6; ++i) {
        t.place(i, scattered[i].X, scattered[i].Y);
    }
    t.redrawAll();
    t.jig.AutoSolve();
    EXPECT_EQ(t.jig.State.SolvedCount, 6);
    EXPECT_FALSE(t.jig.AutoSolving);
    EXPECT_EQ(t.jig.State.AutoSolved, 1);
    EXPECT_EQ(t.jig.State.CheatCount, 1);
    for (int32_t i = 1; i < 6; ++i) {
        EXPECT_EQ(t.piece(i).GroupId, t.piece(0).GroupId);
        EXPECT_EQ(t.piece(i).Left - t.piece(0).Left, t.piece(i).HomeX);
        EXPECT_EQ(t.piece(i).Top - t.piece(0).Top, t.piece(i).HomeY);
    }
    // The picture is built in the middle of the board.
    const Point middle{InputTestPuzzle::kBoardW / 2 - 90, InputTestPuzzle::kBoardH / 2 - 40};
    EXPECT_EQ((Point{t.piece(0).Left, t.piece(0).Top}), middle);
    // A second run on the solved puzzle does nothing.
    t.jig.AutoSolve();
    EXPECT_EQ(t.jig.State.CheatCount, 1);
}

TEST(AutoSolve, WhileItRunsEveryBoardPressIsIgnored) {
    InputTestPuzzle t(2, 1);
    t.jig.AutoSolving = true;
    const Point at = t.centreOf(0);
    t.press(MouseButton::Right, at);
    t.press(MouseButton::Left, at);
    t.host.shift = true;
    t.press(MouseButton::Left, at);
    EXPECT_TRUE(t.host.popups.empty());
    EXPECT_FALSE(t.jig.IsLifted());
    EXPECT_EQ(t.jig.State.CheatCount, 0);
}

TEST(AutoSolve, EndsWhenNothingCanJoin) {
    InputTestPuzzle single(1, 1);
    single.jig.AutoSolve();
    EXPECT_FALSE(single.jig.AutoSolving);
    EXPECT_EQ(single.jig.State.SolvedCount, 0);

    // Every piece in one group, yet the count says otherwise.
    InputTestPuzzle t(2, 1);
    join(t, 0, 1);
    t.jig.State.SolvedCount = 1;
    t.jig.AutoSolve();
    EXPECT_FALSE(t.jig.AutoSolving);
}

} // namespace
} // namespace zg

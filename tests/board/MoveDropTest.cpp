#include "MoveTestPuzzle.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

using test::MoveTestPuzzle;

void expectBoardConsistent(TMove& move) {
    const Bitmap24 shown = move.BackBuffer;
    move.DrawBoard(move.Mural);
    EXPECT_EQ(move.BackBuffer, shown);
}

/// A puzzle with an open user tray 1 at (200, 100), 200 x 150.
struct TrayPuzzle : MoveTestPuzzle {
    TrayPuzzle() : MoveTestPuzzle(3, 1, 30, 30, 500, 400), tray(move->addTray(1)) {
        tray.Left = 200;
        tray.Top = 100;
        redrawAll();
    }
    TBox& tray;
};

TEST(MoveDrop, SnappingDropOnTheBoardHandsPiecesAndRectangleToTheJoiningStep) {
    MoveTestPuzzle t(2, 1, 30, 30, 300, 200);
    ASSERT_TRUE(t.move->LiftAt(t.move->mainArea(), 15, 15));
    t.move->DragTo(15, 15, TMove::mmDragPiece);
    t.move->DragTo(115, 65, TMove::mmDragPiece);
    t.move->DropPieces(nullptr, true);
    ASSERT_EQ(t.move->snaps.size(), 1u);
    EXPECT_EQ(t.move->snaps[0].list, PieceList{&t.piece(0)});
    // The pieces are already in place when the joining step runs, and the
    // rectangle it grows is the sprite's.
    EXPECT_EQ(t.piece(0).boardRect(), (Rect{100, 50, 130, 80}));
    EXPECT_EQ(t.move->snaps[0].dirty, (Rect{100, 50, 130, 80}));
    EXPECT_TRUE(t.piece(0).Placed);
    EXPECT_FALSE(t.move->IsLifted());
    expectBoardConsistent(*t.move);

    // A selection dropped without snapping never reaches it.
    ASSERT_TRUE(t.move->LiftInBand(0, {0, 0, 300, 200}));
    t.move->DropPieces(nullptr, false);
    EXPECT_EQ(t.move->snaps.size(), 1u);
}

TEST(MoveDrop, DropOnAnOpenTrayMovesThePiecesIntoItAndClearsPlaced) {
    TrayPuzzle t;
    t.piece(0).Placed = true;
    ASSERT_TRUE(t.move->LiftAt(t.move->mainArea(), 15, 15));
    t.move->DragTo(15, 15, TMove::mmDragPiece);
    t.move->DragTo(265, 175, TMove::mmDragPiece);
    t.move->DropPieces(nullptr, true);
    EXPECT_EQ(t.piece(0).TrayIndex, 1);
    EXPECT_EQ(t.tray.Pieces, PieceList{&t.piece(0)});
    EXPECT_EQ(t.move->mainArea().PieceCount(), 2);
    EXPECT_FALSE(t.piece(0).Placed);
    EXPECT_EQ(t.piece(0).boardRect(), Rect::fromSize(250, 160, 30, 30));
    expectBoardConsistent(*t.move);
}

TEST(MoveDrop, GroupPushedBackIntoATrayIsRecordedWhereItEndsUp) {
    TrayPuzzle t;
    t.join({0, 1, 2});
    t.redrawAll();
    ASSERT_TRUE(t.move->LiftAt(t.move->mainArea(), 15, 15));
    t.move->DragTo(15, 15, TMove::mmDragPiece);
    // The mouse is on the tray's frame; the group hangs far below it.
    t.move->DragTo(215, 105, TMove::mmDragPiece);
    t.move->DragTo(215, 245, TMove::mmDragPiece);
    t.move->DropPieces(nullptr, false);
    const Rect client = t.tray.ClientRect();
    EXPECT_TRUE(t.piece(0).boardRect().intersects(client));
    // Placing the group from what was recorded puts it where it is now.
    TFormPiece copy = t.piece(0);
    copy.Left = copy.Top = -999;
    copy.restorePosition(client, t.move->State.PictureWidth, t.move->State.PictureHeight);
    EXPECT_EQ(copy.Left, t.piece(0).Left);
    EXPECT_EQ(copy.Top, t.piece(0).Top);
    expectBoardConsistent(*t.move);
}

TEST(MoveDrop, DroppingWithNothingLiftedChangesNothing) {
    MoveTestPuzzle t(2, 1, 30, 30, 300, 200);
    const Bitmap24 before = t.move->BackBuffer;
    t.move->DropPieces(nullptr, true);
    t.move->PutBack();
    t.move->DropTray(t.move->mainArea());
    EXPECT_EQ(t.move->BackBuffer, before);
    EXPECT_EQ(t.move->mainArea().PieceCount(), 2);
}

TEST(MoveTray, DraggedTrayCarriesItsPiecesAndStaysReachable) {
    TrayPuzzle t;
    t.move->TransferPieces({&t.piece(0)}, t.tray);
    t.piece(0).Left = 220;
    t.piece(0).Top = 140;
    t.redrawAll();
    t.move->LiftTray(t.tray);
    EXPECT_EQ(t.move->LiftedTray(), &t.tray);
    EXPECT_TRUE(t.tray.Hidden);
    EXPECT_TRUE(t.piece(0).Hidden);
    t.move->DragTo(250, 105, TMove::mmDragTray);
    t.move->DragTo(-1000, -1000, TMove::mmDragTray);
    // 32 pixels stay across, and the title bar never leaves the top.
    EXPECT_EQ(t.move->MoveRect.Right, 32);
    EXPECT_EQ(t.move->MoveRect.Top, 0);
    t.move->DragTo(150, 55, TMove::mmDragTray);
    t.move->DropTray(t.tray);
    EXPECT_FALSE(t.tray.Hidden);
    EXPECT_FALSE(t.piece(0).Hidden);
    EXPECT_EQ(t.tray.Left, 100);
    EXPECT_EQ(t.tray.Top, 50);
    EXPECT_EQ(t.piece(0).Left, 120);
    EXPECT_EQ(t.piece(0).Top, 90);
    expectBoardConsistent(*t.move);
}

TEST(MoveTray, TrayShadowLeavesTheCornersToTheBoard) {
    TrayPuzzle t;
    t.move->Config.ShadowsOn = true;
    t.move->LiftTray(t.tray);
    const int32_t a = t.move->LiftOffset; // 30 / 10, at least 2
    ASSERT_EQ(a, 3);
    const Rect r = t.move->MoveRect;
    EXPECT_EQ(r, (Rect{200, 100, 403, 253}));
    const Bitmap24& board = t.move->Compositor.Background();
    // Bottom band and right band are black; the corners show the board.
    EXPECT_EQ(t.move->BackBuffer.pixel(r.Left + a + 5, r.Bottom - 1), rgb(0, 0, 0));
    EXPECT_EQ(t.move->BackBuffer.pixel(r.Right - 1, r.Top + a + 5), rgb(0, 0, 0));
    EXPECT_EQ(t.move->BackBuffer.pixel(r.Right - 1, r.Top), board.pixel(r.Right - 1, r.Top));
    EXPECT_EQ(t.move->BackBuffer.pixel(r.Left, r.Bottom - 1), board.pixel(r.Left, r.Bottom - 1));
    t.move->PutBack();
    expectBoardConsistent(*t.move);
}

TEST(MoveTray, RaisedTrayComesToTheFront) {
    TrayPuzzle t;
    TBox& other = t.move->addTray(2);
    other.Left = 250;
    other.Top = 150;
    t.move->SortTrays(false);
    t.redrawAll();
    ASSERT_TRUE(other.IsFront());
    t.move->RaiseTray(t.tray);
    EXPECT_TRUE(t.tray.IsFront());
    EXPECT_EQ(t.move->Trays.back().get(), &t.tray);
    EXPECT_FALSE(t.move->IsLifted());
    expectBoardConsistent(*t.move);
    // The main board area is never raised.
    const int32_t stamp = t.move->NextStackStamp();
    t.move->RaiseTray(t.move->mainArea());
    EXPECT_EQ(t.move->NextStackStamp(), stamp);
}

TEST(MoveRotate, SingleUnjoinedPieceKeepsItsTopLeft) {
    MoveTestPuzzle t(2, 1, 30, 30, 300, 200);
    t.piece(0).Left = 70;
    t.piece(0).Top = 40;
    t.redrawAll();
    t.move->RotateGroup(t.piece(0), 1, false);
    EXPECT_EQ(t.piece(0).Left, 70);
    EXPECT_EQ(t.piece(0).Top, 40);
    EXPECT_FALSE(t.piece(0).Hidden);
    EXPECT_FALSE(t.move->IsLifted());
    ASSERT_EQ(t.move->turns.size(), 1u);
    EXPECT_EQ(t.move->turns[0], (std::pair<std::size_t, int32_t>{1, 1}));
    expectBoardConsistent(*t.move);
}

TEST(MoveRotate, TurnsTheWholeGroupAndNormalisesTheCount) {
    MoveTestPuzzle t(3, 1, 30, 30, 300, 200);
    t.join({0, 1, 2});
    t.redrawAll();
    t.move->RotateGroup(t.piece(1), -1, false);
    ASSERT_EQ(t.move->turns.size(), 1u);
    EXPECT_EQ(t.move->turns[0], (std::pair<std::size_t, int32_t>{3, 3}));
    // Unturned, the group stays fitted around the piece it turned about.
    EXPECT_EQ(t.piece(0).Left, t.piece(1).Left - 30);
    EXPECT_EQ(t.piece(2).Left, t.piece(1).Left + 30);
}

TEST(MoveRotate, PressDuringTheRepaintWaitIsRefused) {
    MoveTestPuzzle t(2, 1, 30, 30, 300, 200);
    bool refused = false;
    t.host.onEvents = [&] { refused = !t.move->LiftAt(t.move->mainArea(), 45, 15); };
    t.move->RotateGroup(t.piece(0), 1, false);
    EXPECT_TRUE(refused);
    EXPECT_FALSE(t.piece(1).Hidden);
    EXPECT_FALSE(t.move->IsLifted());
}

TEST(MoveQueries, LargestRunTakesTheFirstLongestGroup) {
    MoveTestPuzzle t(3, 3, 20, 20, 300, 200);
    EXPECT_EQ(t.move->LargestRun().Length, 1); // all loose: the first piece
    t.join({1, 2, 3});
    t.join({5, 6, 7});
    t.piece(2).Settled = true;
    t.redrawAll();
    const TMove::RunInfo run = t.move->LargestRun();
    EXPECT_EQ(run.Start, 1);
    EXPECT_EQ(run.Length, 3);
    EXPECT_EQ(run.Unsettled, 2);
    EXPECT_EQ(run.GroupId, 1);
    t.move->mainArea().Pieces.clear();
    EXPECT_EQ(t.move->LargestRun().Length, 0);
}

} // namespace
} // namespace zg

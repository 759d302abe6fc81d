// Picking, dragging and dropping pieces, band selections and trays with the mouse.

#include "game/InputTestPuzzle.h"

#include <gtest/gtest.h>

namespace zg::test {
namespace {

constexpr Point kEmpty{600, 440}; // bare board, far from every piece

class InputDrag : public ::testing::Test {
protected:
    InputTestPuzzle t{2, 1};
    TJigsaw& jig = t.jig;
};

TEST_F(InputDrag, DraggedPieceDroppedNextToNeighbourJoinsBoth) {
    t.place(0, 100, 100);
    t.place(1, 400, 300);
    t.redrawAll();
    const Point grab = t.centreOf(1);
    // Piece 1 fits at (160, 100); drop it 3 pixels off.
    const Point to{grab.X + (163 - 400), grab.Y + (97 - 300)};

    t.press(MouseButton::Left, grab);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmDragPiece);
    EXPECT_EQ(t.host.cursor(), CursorShape::Grab);
    t.move(to);
    t.release(to);

    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_EQ(t.host.cursor(), CursorShape::Default);
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_TRUE(t.piece(0).Joined);
    EXPECT_EQ(t.piece(0).GroupId, t.piece(1).GroupId);
    EXPECT_EQ(jig.State.SolvedCount, 2);
    // The loose piece under the drop stays; its neighbour moves flush onto it.
    EXPECT_EQ(t.piece(1).Left, 163);
    EXPECT_EQ(t.piece(0).Left, 103);
    EXPECT_EQ(t.piece(0).Top, 97);
}

TEST_F(InputDrag, BandSelectionDroppedNextToNeighboursDoesNotJoin) {
    t.place(0, 100, 100);
    t.place(1, 400, 300);
    t.redrawAll();
    // A band drawn tightly around piece 1 (it may stick out by a third of a piece).
    t.press(MouseButton::Left, {395, 295});
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmBanding);
    t.move({465, 345});
    t.release({465, 345});
    ASSERT_EQ(jig.MouseMode, TJigsaw::mmSelection);
    ASSERT_EQ(jig.MovingPieces.size(), 1u);

    const Point grab = t.centreOf(1);
    const Point to{grab.X - 240, grab.Y - 200}; // exactly its fitting place
    t.press(MouseButton::Left, grab);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmDragSelection);
    t.move(to);
    t.release(to);

    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_EQ(t.piece(1).Left, 160);
    EXPECT_EQ(t.piece(1).Top, 100);
    EXPECT_FALSE(t.piece(1).Joined);
    EXPECT_NE(t.piece(0).GroupId, t.piece(1).GroupId);
    EXPECT_EQ(jig.State.SolvedCount, 0);
}

TEST_F(InputDrag, PressOutsideTheSelectionPutsItBackUnmoved) {
    t.place(1, 400, 300);
    t.redrawAll();
    t.press(MouseButton::Left, {395, 295});
    t.move({465, 345});
    t.release({465, 345});
    ASSERT_EQ(jig.MouseMode, TJigsaw::mmSelection);

    t.press(MouseButton::Left, kEmpty);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_FALSE(t.piece(1).Hidden);
    EXPECT_EQ(t.piece(1).Left, 400);
}

TEST_F(InputDrag, ShiftClickWithCheatingOffPicksLikeAPlainClick) {
    jig.Config.CheatingOn = false;
    t.host.shift = true;
    t.press(MouseButton::Left, t.centreOf(0));
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmDragPiece);
    EXPECT_TRUE(t.piece(0).Hidden);
    t.release(t.centreOf(0));
    EXPECT_FALSE(jig.IsLifted());
}

TEST_F(InputDrag, ShiftClickWithCheatingOnPicksNothing) {
    t.host.shift = true;
    t.press(MouseButton::Left, t.centreOf(0));
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_EQ(jig.ClickedPiece, &t.piece(0));
    EXPECT_EQ(jig.NeighbourPiece, &t.piece(1));
}

TEST_F(InputDrag, PressOnATransparentCornerDoesNotPickThePiece) {
    const TFormPiece& p = t.piece(0);
    t.press(MouseButton::Left, {p.Left + 1, p.Top + 1});
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmBanding);
    EXPECT_FALSE(jig.IsLifted());
}

TEST_F(InputDrag, LeftPressesDuringAutoSolveAreIgnored) {
    jig.AutoSolving = true;
    t.press(MouseButton::Left, t.centreOf(0));
    t.press(MouseButton::Middle, t.centreOf(0));
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(jig.IsLifted());
}

TEST_F(InputDrag, PressesBeforeTheFirstBuildAreIgnored) {
    FakeHost host;
    TJigsaw fresh(host);
    host.ctrl = true;
    for (MouseButton b : {MouseButton::Left, MouseButton::Middle, MouseButton::Right}) {
        fresh.BoardMouseDown(b, 10, 10);
        fresh.BoardMouseMove(20, 20);
        fresh.BoardMouseUp(20, 20);
    }
    fresh.UpdateMouseHelp({ShiftState::kShift});
    EXPECT_EQ(fresh.MouseMode, TJigsaw::mmIdle);
    EXPECT_TRUE(host.popups.empty());
    EXPECT_TRUE(host.cursors.empty());
    EXPECT_TRUE(host.statusTexts.empty());
}

TEST_F(InputDrag, ResizingTheBoardPutsAHeldSelectionBackWhereItWas) {
    t.place(1, 400, 300);
    jig.RecordPositions(jig.mainArea());
    t.redrawAll();
    t.press(MouseButton::Left, {395, 295});
    t.move({465, 345});
    t.release({465, 345});
    ASSERT_EQ(jig.MouseMode, TJigsaw::mmSelection);

    // The rebuilt board would otherwise lose the selection's sprite while its
    // pieces stay hidden.
    jig.SetBoardSize(InputTestPuzzle::kBoardW, InputTestPuzzle::kBoardH);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_FALSE(t.piece(1).Hidden);
    EXPECT_EQ(t.piece(1).Left, 400);
    EXPECT_EQ(t.piece(1).Top, 300);
}

TEST_F(InputDrag, ResizingTheBoardDuringADragEndsItAndLaterMovesDoNothing) {
    jig.RecordPositions(jig.mainArea());
    const Point grab = t.centreOf(1);
    t.press(MouseButton::Left, grab);
    t.move({grab.X + 50, grab.Y + 40});
    ASSERT_EQ(jig.MouseMode, TJigsaw::mmDragPiece);

    jig.SetBoardSize(InputTestPuzzle::kBoardW, InputTestPuzzle::kBoardH);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_FALSE(t.piece(1).Hidden);
    EXPECT_EQ(t.host.cursor(), CursorShape::Default);
    t.move({grab.X + 90, grab.Y + 60});
    t.release({grab.X + 90, grab.Y + 60});
    EXPECT_EQ(t.piece(1).Left, 200 + InputTestPuzzle::kW);
}

TEST_F(InputDrag, ResizingTheBoardDuringABandLeavesNoOutlineBehind) {
    jig.RecordPositions(jig.mainArea());
    t.press(MouseButton::Left, kEmpty);
    t.move({kEmpty.X - 100, kEmpty.Y - 80});
    ASSERT_EQ(jig.MouseMode, TJigsaw::mmBanding);

    jig.SetBoardSize(InputTestPuzzle::kBoardW, InputTestPuzzle::kBoardH);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(jig.Band.isActive());
    t.move({kEmpty.X - 120, kEmpty.Y - 90});
    t.release({kEmpty.X - 120, kEmpty.Y - 90});
    // No inverted pixels remain: the buffer equals a fresh drawing of the board.
    const Bitmap24 shown = jig.BackBuffer;
    jig.DrawBoard(jig.Mural);
    EXPECT_TRUE(shown == jig.BackBuffer);
}

// ---- Trays ----

class InputTray : public InputDrag {
protected:
    void SetUp() override {
        tray = &jig.addTray(1); // at (20, 20), 200 x 150
        t.redrawAll();
    }
    Point buttonCentre() const {
        const Rect b = tray->MinimiseRect();
        return {(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2};
    }
    TBox* tray = nullptr;
};

TEST_F(InputTray, MovingOffTheTrayButtonBeforeReleaseCancelsIt) {
    t.press(MouseButton::Left, buttonCentre());
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmTrayButton);
    EXPECT_TRUE(tray->Pressed);
    t.move({buttonCentre().X, buttonCentre().Y + 30});
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(tray->Pressed);
    t.release({buttonCentre().X, buttonCentre().Y + 30});
    EXPECT_TRUE(tray->Open);
    EXPECT_TRUE(t.host.trayOpens.empty());
}

TEST_F(InputTray, ReleasingOnTheTrayButtonMinimisesTheTray) {
    t.press(MouseButton::Left, buttonCentre());
    t.move({buttonCentre().X + 2, buttonCentre().Y});
    t.release({buttonCentre().X + 2, buttonCentre().Y});
    EXPECT_FALSE(tray->Open);
    EXPECT_FALSE(tray->Pressed);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmTrayButton); // until the pointer leaves the button
    ASSERT_EQ(t.host.trayOpens.size(), 1u);
    EXPECT_FALSE(t.host.trayOpens[0].value);
}

TEST_F(InputTray, DraggingTheTitleBarMovesTheTray) {
    const int32_t stamp = tray->StackStamp;
    t.drag({60, 30}, {160, 80});
    EXPECT_EQ(tray->Left, 120);
    EXPECT_EQ(tray->Top, 70);
    EXPECT_GT(tray->StackStamp, stamp);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_EQ(jig.LiftedTray(), nullptr);
}

TEST_F(InputTray, DraggingTheRightEdgeResizesTheTray) {
    const Point edge{20 + 200 - 3, 100};
    t.move(edge);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmTrayBorder);
    EXPECT_EQ(t.host.cursor(), CursorShape::SizeWE);
    t.press(MouseButton::Left, edge);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmResizeTray);
    t.move({edge.X + 80, edge.Y + 50}); // only the width follows
    t.release({edge.X + 80, edge.Y + 50});
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_EQ(tray->Left, 20);
    EXPECT_EQ(tray->Width, 280);
    EXPECT_EQ(tray->Height, 150);
}

TEST_F(InputTray, LeavingTheBorderRestoresTheDefaultCursor) {
    t.move({20 + 200 - 3, 100});
    ASSERT_EQ(jig.MouseMode, TJigsaw::mmTrayBorder);
    t.move({100, 100});
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_EQ(t.host.cursor(), CursorShape::Default);
}

} // namespace
} // namespace zg::test

#include "MoveTestPuzzle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Counts every allocation of this test program, so a test can show that a
// code path allocates nothing.
namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace zg {
namespace {

using test::MoveTestPuzzle;

/// The back buffer equals a full redraw of the board: nothing stale is left.
void expectBoardConsistent(TMove& move) {
    const Bitmap24 shown = move.BackBuffer;
    move.DrawBoard(move.Mural);
    EXPECT_EQ(move.BackBuffer, shown);
}

TEST(MoveDrag, GroupDraggedOffTheEdgeKeepsItsLastPieceHalfOnTheBoard) {
    MoveTestPuzzle t(3, 1, 40, 40, 300, 200);
    t.piece(0).Left = 100;
    t.piece(0).Top = 80;
    t.join({0, 1, 2});
    t.redrawAll();
    ASSERT_TRUE(t.move->LiftAt(t.move->mainArea(), 120, 100));
    for (int32_t x = 120; x >= -600; x -= 10) {
        t.move->DragTo(x, 100, TMove::mmDragPiece);
    }
    // The rightmost piece left the board last; it stays half a piece inside.
    EXPECT_EQ(t.move->DragAnchor, &t.piece(2));
    // Moving down while pinned still follows the mouse vertically.
    t.move->DragTo(-600, 130, TMove::mmDragPiece);
    t.move->DropPieces(nullptr, false);
    EXPECT_EQ(t.piece(2).boardRect().Right, 20);
    EXPECT_EQ(t.piece(2).Top, 110);
    EXPECT_LT(t.piece(1).boardRect().Right, 0);
    expectBoardConsistent(*t.move);
}

TEST(MoveDrag, GroupOffTheBoardWithoutAnchorIsPulledBackWhole) {
    MoveTestPuzzle t(2, 1, 40, 40, 300, 200);
    t.join({0, 1});
    t.redrawAll();
    // Lifted by the program, then dragged: the first move already leaves the
    // board, so no piece was ever found on it.
    t.move->LiftGroup(&t.piece(0));
    t.move->TrackMouse(20, 20);
    t.move->DragTo(20, 1000, TMove::mmDragPiece);
    EXPECT_EQ(t.move->DragAnchor, nullptr);
    EXPECT_EQ(t.move->MoveRect.Top, 200 - 20);
}

TEST(MoveDrag, SelectionStopsHalfAPiecePastTheRightEdge) {
    MoveTestPuzzle t(2, 1, 30, 30, 300, 200);
    t.move->Config.ShadowsOn = true;
    t.redrawAll();
    ASSERT_TRUE(t.move->LiftInBand(0, {0, 0, 300, 200}));
    t.move->DragTo(10, 10, TMove::mmDragSelection);
    t.move->DragTo(2000, 10, TMove::mmDragSelection);
    EXPECT_EQ(t.move->MoveRect.Right, 300 + 15);
    t.move->DragTo(-2000, -2000, TMove::mmDragSelection);
    EXPECT_EQ(t.move->MoveRect.Left, -15);
    EXPECT_EQ(t.move->MoveRect.Top, -15);
    t.move->DragTo(2000, 2000, TMove::mmDragSelection);
    t.move->DropPieces(nullptr, false);
    // The sprite's rectangle includes the 3-pixel shadow.
    EXPECT_EQ(t.piece(1).boardRect().Right, 315 - 3);
    EXPECT_EQ(t.piece(1).boardRect().Bottom, 215 - 3);
    expectBoardConsistent(*t.move);
}

TEST(MoveDrag, SelectionWiderThanTheBoardKeepsItsRightEdge) {
    // Three pieces of 30 make a selection 90 wide on a board 50 wide: both
    // limits cannot hold, and the right one wins.
    MoveTestPuzzle t(3, 1, 30, 30, 50, 100);
    ASSERT_TRUE(t.move->LiftInBand(0, {0, 0, 90, 30}));
    t.move->DragTo(0, 0, TMove::mmDragSelection);
    t.move->DragTo(-100, 0, TMove::mmDragSelection);
    EXPECT_EQ(t.move->MoveRect.Right, 50 + 15);
    EXPECT_LT(t.move->MoveRect.Left, -15);
}

TEST(MoveDrag, FramePresentsOnlyTheOldAndNewRectangles) {
    MoveTestPuzzle t(2, 1, 40, 40, 400, 300);
    t.redrawAll();
    ASSERT_TRUE(t.move->LiftAt(t.move->mainArea(), 20, 20));
    t.move->DragTo(20, 20, TMove::mmDragPiece);
    const Rect start = t.move->MoveRect;

    t.host.presented.clear();
    t.move->DragTo(25, 23, TMove::mmDragPiece);
    ASSERT_EQ(t.host.presented.size(), 1u);
    EXPECT_EQ(t.host.presented[0], boundingBox(start, t.move->MoveRect));

    const Rect before = t.move->MoveRect;
    t.host.presented.clear();
    t.move->DragTo(300, 200, TMove::mmDragPiece);
    ASSERT_EQ(t.host.presented.size(), 2u);
    EXPECT_EQ(t.host.presented[0], before);
    EXPECT_EQ(t.host.presented[1], t.move->MoveRect);
}

TEST(MoveDrag, DragFramesAllocateNothing) {
    MoveTestPuzzle t(4, 4, 40, 40, 400, 300);
    t.move->Config.ShadowsOn = true;
    t.join({0, 1, 2, 3, 4, 5, 6, 7});
    t.redrawAll();
    ASSERT_TRUE(t.move->LiftAt(t.move->mainArea(), 20, 20));
    t.move->DragTo(20, 20, TMove::mmDragPiece);
    t.host.presented.reserve(4000); // the fake host's own record of presents
    const long before = g_allocations.load();
    for (int32_t i = 0; i < 200; ++i) {
        t.move->DragTo(20 + i, 20 + i / 2, TMove::mmDragPiece);
        t.move->DragTo(20 + i, 20 + i / 2, TMove::mmDragSelection);
    }
    EXPECT_EQ(g_allocations.load(), before);
}

TEST(MoveDrag, SpriteLeavesNoTraceWhenDropped) {
    MoveTestPuzzle t(3, 2, 40, 40, 400, 300);
    t.move->Config.ShadowsOn = true;
    t.join({1, 4});
    t.redrawAll();
    ASSERT_TRUE(t.move->LiftAt(t.move->mainArea(), 60, 60));
    for (int32_t i = 0; i < 30; ++i) {
        t.move->DragTo(60 + 7 * i, 60 + 3 * i, TMove::mmDragPiece);
    }
    t.move->DropPieces(nullptr, false);
    EXPECT_EQ(t.piece(1).Left, 40 + 7 * 29);
    EXPECT_EQ(t.piece(4).Top, 40 + 3 * 29);
    expectBoardConsistent(*t.move);
}

TEST(MoveDrag, PutBackLeavesTheBoardAsItWas) {
    MoveTestPuzzle t(2, 1, 40, 40, 300, 200);
    t.move->Config.ShadowsOn = true;
    // Piece 1 overlaps piece 0 and is painted over it.
    t.piece(1).Left = 20;
    t.piece(1).Top = 10;
    t.redrawAll();
    const Bitmap24 before = t.move->BackBuffer;
    const PieceList order = t.move->mainArea().Pieces;

    // Lifting piece 0 brings it to the front; it is shown over piece 1.
    ASSERT_TRUE(t.move->LiftAt(t.move->mainArea(), 10, 20));
    EXPECT_GT(t.piece(0).GroupId, t.piece(1).GroupId);
    t.move->DragTo(10, 20, TMove::mmDragPiece);
    t.move->DragTo(150, 120, TMove::mmDragPiece);
    t.move->PutBack();

    EXPECT_FALSE(t.move->IsLifted());
    EXPECT_FALSE(t.piece(0).Hidden);
    EXPECT_EQ(t.piece(0).boardRect(), Rect::fromSize(0, 0, 40, 40));
    EXPECT_LT(t.piece(0).GroupId, t.piece(1).GroupId);
    EXPECT_EQ(t.move->mainArea().Pieces, order);
    EXPECT_EQ(t.move->BackBuffer, before);
    EXPECT_EQ(t.move->Compositor.Background(), before);
}

TEST(MoveGlide, SpeedTenDrawsOnlyTheStartAndTheEnd) {
    MoveTestPuzzle t(1, 1, 40, 40, 400, 300);
    t.move->LiftSingle(t.piece(0));
    const int64_t frames = t.move->FramesDrawn();
    EXPECT_TRUE(t.move->Glide(0, 0, 300, 150, 10, true));
    EXPECT_EQ(t.move->FramesDrawn() - frames, 2);
    EXPECT_EQ(t.move->SpritePos(), (Point{300, 150}));
    EXPECT_EQ(t.host.clock, 0);
}

TEST(MoveGlide, SpeedFiveMovesFivePixelsEveryFiveMilliseconds) {
    MoveTestPuzzle t(1, 1, 40, 40, 400, 300);
    t.move->LiftSingle(t.piece(0));
    const int64_t frames = t.move->FramesDrawn();
    EXPECT_TRUE(t.move->Glide(0, 0, 100, 40, 5, false));
    // 100 pixels along the major axis: 20 paced frames between start and end.
    EXPECT_EQ(t.move->FramesDrawn() - frames, 22);
    EXPECT_EQ(t.host.clock, 100);
    EXPECT_EQ(t.move->SpritePos(), (Point{100, 40}));
}

TEST(MoveGlide, LateFramesAreSkipped) {
    MoveTestPuzzle t(1, 1, 40, 40, 400, 300);
    t.move->LiftSingle(t.piece(0));
    // Every wait costs 50 ms: each frame is due long before the next one comes.
    t.host.onWait = [&] { t.host.clock += 50; };
    const int64_t frames = t.move->FramesDrawn();
    EXPECT_TRUE(t.move->Glide(0, 0, 100, 0, 5, false));
    EXPECT_LT(t.move->FramesDrawn() - frames, 22);
    EXPECT_EQ(t.move->SpritePos(), (Point{100, 0}));
}

TEST(MoveGlide, ZeroDistanceStaysAtTheStartAfterOnePacedFrame) {
    MoveTestPuzzle t(1, 1, 40, 40, 400, 300);
    t.move->LiftSingle(t.piece(0));
    const int64_t frames = t.move->FramesDrawn();
    EXPECT_TRUE(t.move->Glide(50, 60, 50, 60, 1, false));
    EXPECT_EQ(t.move->SpritePos(), (Point{50, 60}));
    EXPECT_LE(t.move->FramesDrawn() - frames, 3);
    EXPECT_LE(t.host.clock, 9);
}

TEST(MoveGlide, WaitingClickAbortsWhereTheSpriteIs) {
    MoveTestPuzzle t(1, 1, 40, 40, 400, 300);
    t.move->LiftSingle(t.piece(0));
    t.host.pressPending = true;
    EXPECT_FALSE(t.move->Glide(0, 0, 200, 0, 5, true));
    EXPECT_GT(t.move->SpritePos().X, 0);
    EXPECT_LT(t.move->SpritePos().X, 200);
    // Without the abort flag a waiting click does not stop the glide.
    EXPECT_TRUE(t.move->Glide(0, 0, 200, 0, 5, false));
    EXPECT_EQ(t.move->SpritePos(), (Point{200, 0}));
}

TEST(MoveGuard, PressDuringAGlideDoesNotStartASecondLift) {
    MoveTestPuzzle t(2, 1, 40, 40, 400, 300);
    t.piece(1).Left = 300;
    t.piece(1).Top = 200;
    t.redrawAll();
    t.move->LiftGroup(&t.piece(0));
    int presses = 0;
    t.host.onWait = [&] {
        // The host delivers a press on the other piece while the glide waits.
        ++presses;
        EXPECT_TRUE(t.move->IsMoveBusy());
        EXPECT_FALSE(t.move->LiftAt(t.move->mainArea(), 320, 220));
        t.move->DragTo(320, 220, TMove::mmDragPiece);
        t.move->DropPieces(nullptr, true);
        t.move->PutBack();
    };
    EXPECT_TRUE(t.move->Glide(0, 0, 100, 100, 5, false));
    EXPECT_GT(presses, 0);
    EXPECT_EQ(t.move->MovingPieces, PieceList{&t.piece(0)});
    EXPECT_FALSE(t.piece(1).Hidden);
    EXPECT_EQ(t.move->SpritePos(), (Point{100, 100}));
    t.host.onWait = nullptr;
    EXPECT_FALSE(t.move->IsMoveBusy());
    t.move->DropPieces(&t.move->mainArea(), false);
    EXPECT_EQ(t.piece(0).boardRect().Left, 100);
    expectBoardConsistent(*t.move);
}

TEST(MoveGuard, PressDuringAPopupIsRefused) {
    MoveTestPuzzle t(2, 1, 40, 40, 400, 300);
    t.move->LiftSingle(t.piece(0));
    {
        TMove::ModalScope popup(*t.move);
        EXPECT_TRUE(t.move->IsMoveBusy());
        EXPECT_FALSE(t.move->LiftAt(t.move->mainArea(), 60, 20));
        EXPECT_FALSE(t.piece(1).Hidden);
    }
    EXPECT_FALSE(t.move->IsMoveBusy());
    t.move->PutBack();
    EXPECT_FALSE(t.piece(0).Hidden);
}

} // namespace
} // namespace zg

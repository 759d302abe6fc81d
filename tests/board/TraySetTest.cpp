#include "TraySupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zg {
namespace {

class TraySet : public ::testing::Test {
protected:
    TraySet() { test::makePieces(boxes, 12, 16, 640, 480); }

    /// Every piece is listed by exactly one tray, the one its TrayIndex names.
    void expectEachPieceInOneTray() {
        std::vector<int> seen(boxes.Pieces.size(), 0);
        for (const auto& tray : boxes.Trays) {
            for (const TFormPiece* p : tray->Pieces) {
                ++seen[std::size_t(p->Index)];
                EXPECT_EQ(p->TrayIndex, tray->Number) << "piece " << p->Index;
            }
        }
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i], 1) << "piece " << i;
        }
    }

    test::FakeHost host;
    test::TestBoxes boxes{host};
};

TEST_F(TraySet, CreateTraysPutsEveryPieceOnTheBoard) {
    EXPECT_EQ(boxes.Trays.size(), 1u);
    EXPECT_EQ(boxes.mainArea().PieceCount(), 12);
    EXPECT_EQ(boxes.mainArea().OuterRect(), (Rect{0, 0, 640, 480}));
    expectEachPieceInOneTray();
}

TEST_F(TraySet, TheMainBoardAreaOutlivesRebuildsOfTheTraySet) {
    const TBox* board = &boxes.mainArea();
    boxes.addTray(1);
    boxes.CreateTrays(800, 600);
    EXPECT_EQ(&boxes.mainArea(), board);
    EXPECT_EQ(boxes.Trays.size(), 1u);
    EXPECT_EQ(board->OuterRect(), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(board->PieceCount(), 12);
    boxes.FreeTrays();
    EXPECT_EQ(&boxes.mainArea(), board);
    EXPECT_EQ(board->PieceCount(), 0);
    EXPECT_TRUE(boxes.Pieces.empty());
}

TEST_F(TraySet, TrayAtPrefersTheTrayWithTheLargerStamp) {
    TBox& one = boxes.addTray(1);
    TBox& two = boxes.addTray(2);
    one.SetBounds(Rect::fromSize(100, 100, 200, 150));
    two.SetBounds(Rect::fromSize(150, 120, 200, 150));
    EXPECT_EQ(&boxes.TrayAt(160, 130), &two);
    one.TakeStamp();
    boxes.SortTrays(false);
    EXPECT_EQ(&boxes.TrayAt(160, 130), &one);
    EXPECT_EQ(&boxes.TrayAt(320, 260), &two);
    EXPECT_EQ(&boxes.TrayAt(10, 10), &boxes.mainArea());
    EXPECT_EQ(&boxes.TrayAt(100, 100), &one);
    EXPECT_EQ(&boxes.TrayAt(300, 100), &boxes.mainArea()); // right edge is exclusive
}

TEST_F(TraySet, MinimisedTrayIsNeitherHitNorDrawn) {
    TBox& one = boxes.addTray(1);
    one.SetBounds(Rect::fromSize(100, 100, 200, 150));
    boxes.TransferPieces({boxes.Pieces[0]}, one);
    boxes.Pieces[0]->Left = 150;
    boxes.Pieces[0]->Top = 150;
    boxes.ToggleOpen(one);
    EXPECT_FALSE(one.Open);
    EXPECT_EQ(&boxes.TrayAt(150, 150), &boxes.mainArea());
    Bitmap24 target(640, 480);
    boxes.DrawTrays(target, nullptr);
    // Only the board's own pieces were drawn, none inside the tray's outline.
    for (int32_t y = 100; y < 250; ++y) {
        for (int32_t x = 100; x < 300; ++x) {
            ASSERT_EQ(target.pixel(x, y), rgb(0, 0, 0)) << x << "," << y;
        }
    }
}

TEST_F(TraySet, SortingByStampKeepsTheBoardFirst) {
    TBox& one = boxes.addTray(1);
    TBox& two = boxes.addTray(2);
    one.TakeStamp();
    boxes.SortTrays(false);
    EXPECT_EQ(boxes.Trays[0]->Number, 0);
    EXPECT_EQ(boxes.Trays[1].get(), &two);
    EXPECT_EQ(boxes.Trays[2].get(), &one);
    boxes.SortTrays(true);
    EXPECT_EQ(boxes.Trays[1].get(), &one);
}

TEST_F(TraySet, LastPieceOutAndFirstPieceInSwitchTheGlyphs) {
    TBox& one = boxes.addTray(1);
    TBox& two = boxes.addTray(2);
    boxes.TransferPieces({boxes.Pieces[0], boxes.Pieces[1]}, one);
    ASSERT_EQ(host.trayGlyphs.size(), 1u);
    EXPECT_EQ(host.trayGlyphs[0], (test::FakeHost::TrayFlag{1, true}));
    boxes.TransferPieces({boxes.Pieces[0]}, two);
    ASSERT_EQ(host.trayGlyphs.size(), 2u);
    EXPECT_EQ(host.trayGlyphs[1], (test::FakeHost::TrayFlag{2, true}));
    boxes.TransferPieces({boxes.Pieces[1]}, two);
    ASSERT_EQ(host.trayGlyphs.size(), 3u);
    EXPECT_EQ(host.trayGlyphs[2], (test::FakeHost::TrayFlag{1, false}));
    boxes.TransferPieces({boxes.Pieces[0], boxes.Pieces[1]}, boxes.mainArea());
    ASSERT_EQ(host.trayGlyphs.size(), 4u);
    EXPECT_EQ(host.trayGlyphs[3], (test::FakeHost::TrayFlag{2, false}));
    expectEachPieceInOneTray();
}

TEST_F(TraySet, TransferIntoTheSameTrayChangesNothing) {
    TBox& one = boxes.addTray(1);
    boxes.TransferPieces({boxes.Pieces[3]}, one);
    host.trayGlyphs.clear();
    boxes.TransferPieces({boxes.Pieces[3]}, one);
    EXPECT_EQ(one.PieceCount(), 1);
    EXPECT_TRUE(host.trayGlyphs.empty());
    boxes.TransferPieces({}, one);
    EXPECT_EQ(one.PieceCount(), 1);
}

TEST_F(TraySet, PiecesFromSeveralTraysAreEachTakenFromTheirOwn) {
    TBox& one = boxes.addTray(1);
    TBox& two = boxes.addTray(2);
    boxes.TransferPieces({boxes.Pieces[0]}, one);
    boxes.TransferPieces({boxes.Pieces[1]}, two);
    boxes.TransferPieces({boxes.Pieces[0], boxes.Pieces[1], boxes.Pieces[2]}, boxes.mainArea());
    EXPECT_EQ(one.PieceCount(), 0);
    EXPECT_EQ(two.PieceCount(), 0);
    expectEachPieceInOneTray();
}

TEST_F(TraySet, MinimiseEmptyTraysLeavesTraysWithPiecesOpen) {
    TBox& one = boxes.addTray(1);
    TBox& two = boxes.addTray(2);
    TBox& three = boxes.addTray(3);
    boxes.TransferPieces({boxes.Pieces[0]}, two);
    three.Open = false;
    boxes.MinimiseEmptyTrays();
    EXPECT_FALSE(one.Open);
    EXPECT_TRUE(two.Open);
    EXPECT_FALSE(three.Open);
    ASSERT_EQ(host.trayOpens.size(), 1u);
    EXPECT_EQ(host.trayOpens[0], (test::FakeHost::TrayFlag{1, false}));
    EXPECT_EQ(host.sounds, std::vector<int>{4});
    ASSERT_EQ(boxes.refreshed.size(), 1u);
    EXPECT_EQ(boxes.refreshed[0], one.OuterRect());
    ASSERT_EQ(boxes.zooms.size(), 1u);
    EXPECT_EQ(boxes.zooms[0].first, one.OuterRect());
}

TEST_F(TraySet, RestoringATrayBringsItToTheFront) {
    TBox& one = boxes.addTray(1);
    boxes.addTray(2);
    boxes.ToggleOpen(one);
    boxes.ToggleOpen(one);
    EXPECT_TRUE(one.Open);
    EXPECT_TRUE(one.IsFront());
    EXPECT_EQ(boxes.Trays.back().get(), &one);
    ASSERT_EQ(boxes.zooms.size(), 2u);
    EXPECT_EQ(boxes.zooms[1].second, one.OuterRect());
}

TEST_F(TraySet, ShrinkingTheBoardKeepsEveryTrayReachable) {
    const Rect places[] = {Rect::fromSize(500, 300, 200, 150), Rect::fromSize(-150, 400, 200, 150),
                           Rect::fromSize(600, -20, 120, 90), Rect::fromSize(20, 20, 200, 150)};
    for (int n = 1; n <= 4; ++n) {
        TBox& tray = boxes.addTray(n);
        tray.SetBounds(places[n - 1]);
        boxes.TransferPieces({boxes.Pieces[std::size_t(n)]}, tray);
        boxes.Pieces[std::size_t(n)]->Left = tray.ClientRect().Left + 10;
        boxes.Pieces[std::size_t(n)]->Top = tray.ClientRect().Top + 10;
    }
    const int32_t w = 300, h = 200;
    boxes.recordBoardSize(w, h);
    boxes.FitTraysToBoard(w, h);
    for (std::size_t i = 1; i < boxes.Trays.size(); ++i) {
        const TBox& tray = *boxes.Trays[i];
        EXPECT_LE(tray.Left, w - 32) << tray.Number;
        EXPECT_GE(tray.Left + tray.Width, 32) << tray.Number;
        EXPECT_GE(tray.Top, 0) << tray.Number;
        EXPECT_LE(tray.Top, h - 32) << tray.Number;
        // Its piece went with it.
        const TFormPiece* p = tray.Pieces.front();
        EXPECT_EQ(p->Left, tray.ClientRect().Left + 10) << tray.Number;
        EXPECT_EQ(p->Top, tray.ClientRect().Top + 10) << tray.Number;
    }
    EXPECT_EQ(boxes.Trays[4]->OuterRect(), Rect::fromSize(20, 20, 200, 150)); // already fine
}

TEST_F(TraySet, RefittingPushesAStrayGroupBackIntoTheTray) {
    TBox& one = boxes.addTray(1);
    one.SetBounds(Rect::fromSize(100, 100, 200, 150));
    TFormPiece& p = *boxes.Pieces[0];
    boxes.TransferPieces({&p}, one);
    p.Left = 500;
    p.Top = 400;
    boxes.RefitTray(one);
    const Rect client = one.ClientRect();
    // At least half a piece of it lies inside the client area again.
    EXPECT_LE(p.Left, client.Right - 8);
    EXPECT_LE(p.Top, client.Bottom - 8);
    // A piece already inside stays put.
    p.Left = 150;
    p.Top = 150;
    boxes.RefitTray(one);
    EXPECT_EQ(p.Left, 150);
    EXPECT_EQ(p.Top, 150);
}

TEST_F(TraySet, FittingPlacesTheBoardsGroupsFromTheirRelativePositions) {
    TFormPiece& p = *boxes.Pieces[5];
    p.setPosition(320, 240, boxes.mainArea().ClientRect(), 320, 240);
    boxes.recordBoardSize(320, 240);
    boxes.FitTraysToBoard(320, 240);
    EXPECT_EQ(p.Left, 160);
    EXPECT_EQ(p.Top, 120);
}

TEST_F(TraySet, AnEmptyAreaNeverReachesTheRelativePositionArithmetic) {
    TBox& tiny = boxes.addTray(1);
    TFormPiece& p = *boxes.Pieces[0];
    boxes.TransferPieces({&p}, tiny);
    p.RelX = 12.5;
    p.RelY = 7.25;
    tiny.SetSize(10, 20); // client area of width -6 and height -12
    boxes.MoveTray(tiny, 5, 5);
    EXPECT_EQ(p.RelX, 12.5);
    EXPECT_EQ(p.RelY, 7.25);
    // A board of no size places nothing and computes nothing from it.
    boxes.Pieces[1]->Left = 33;
    boxes.recordBoardSize(0, 0);
    boxes.FitTraysToBoard(0, 0);
    EXPECT_TRUE(std::isfinite(boxes.Pieces[1]->RelX));
    boxes.State.PictureWidth = 0;
    boxes.recordBoardSize(640, 480);
    boxes.RecordPositions(boxes.mainArea());
    EXPECT_TRUE(std::isfinite(boxes.Pieces[1]->RelX));
}

TEST_F(TraySet, MovingATrayMovesItsPiecesAndRecordsTheirPlace) {
    TBox& one = boxes.addTray(1);
    one.SetBounds(Rect::fromSize(100, 100, 200, 150));
    TFormPiece& p = *boxes.Pieces[0];
    boxes.TransferPieces({&p}, one);
    p.Left = 120;
    p.Top = 140;
    boxes.MoveTray(one, 30, -10);
    EXPECT_EQ(one.Left, 130);
    EXPECT_EQ(one.Top, 90);
    EXPECT_EQ(p.Left, 150);
    EXPECT_EQ(p.Top, 130);
    p.Left = p.Top = 0;
    p.restorePosition(one.ClientRect(), 320, 240);
    EXPECT_EQ(p.Left, 150);
    EXPECT_EQ(p.Top, 130);
}

TEST_F(TraySet, ResizingATrayKeepsItsPiecesInsideAndRefreshesBothOutlines) {
    TBox& one = boxes.addTray(1);
    one.SetBounds(Rect::fromSize(100, 100, 300, 200));
    TFormPiece& p = *boxes.Pieces[0];
    boxes.TransferPieces({&p}, one);
    p.Left = 350;
    p.Top = 250;
    boxes.ResizeTray(one, Rect{250, 300, 150, 200}); // given corner to corner
    EXPECT_EQ(one.OuterRect(), (Rect{150, 200, 250, 300}));
    const Rect client = one.ClientRect();
    EXPECT_TRUE(p.boardRect().intersects(client));
    ASSERT_FALSE(boxes.refreshed.empty());
    EXPECT_EQ(boxes.refreshed.back(), (Rect{100, 100, 400, 300}));
    boxes.ResizeTray(one, Rect{0, 0, 10, 10});
    EXPECT_EQ(one.OuterRect(), (Rect{0, 0, 100, 75}));
}

TEST(TrayVisible, KeepsThirtyTwoPixelsAcrossAndTheTitleBarOnTheBoard) {
    const Rect bounds{0, 0, 300, 200};
    Rect r = Rect::fromSize(-190, -50, 200, 150);
    TBoxes::KeepTrayVisible(r, bounds);
    EXPECT_EQ(r, Rect::fromSize(-168, 0, 200, 150));
    r = Rect::fromSize(290, 190, 200, 150);
    TBoxes::KeepTrayVisible(r, bounds);
    EXPECT_EQ(r, Rect::fromSize(268, 168, 200, 150));
}

TrayBarMetrics horizontalBar(int32_t width) {
    TrayBarMetrics bar;
    bar.BarWidth = width;
    bar.BarHeight = 30;
    bar.TemplateButton = Rect::fromSize(20, 3, 24, 24);
    bar.LeftButton = Rect::fromSize(2, 3, 16, 24);
    bar.RightButton = Rect::fromSize(0, 3, 16, 24);
    bar.UpButton = Rect::fromSize(2, 2, 24, 16);
    bar.DownButton = Rect::fromSize(2, 0, 24, 16);
    return bar;
}

TEST_F(TraySet, TrayBarShowsAsManyButtonsAsFitInNumberOrder) {
    for (int n : {3, 1, 2, 4, 5}) {
        boxes.addTray(n);
    }
    // Capacity: (130 - 2 * 20) / 30 = 3.
    const TrayBarLayout layout = boxes.LayoutTrayBar(true, horizontalBar(130));
    EXPECT_EQ(boxes.TrayBarCapacity, 3);
    EXPECT_TRUE(layout.ShowLeftRight);
    EXPECT_FALSE(layout.ShowUpDown);
    EXPECT_EQ(layout.RightButton.Left, 130 - 16 - 2);
    ASSERT_EQ(layout.Buttons.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(layout.Buttons[std::size_t(i)].Number, i + 1);
        EXPECT_EQ(layout.Buttons[std::size_t(i)].Visible, i < 3);
    }
    EXPECT_EQ(layout.Buttons[0].Bounds, Rect::fromSize(20, 3, 24, 24));
    EXPECT_EQ(layout.Buttons[2].Bounds, Rect::fromSize(80, 3, 24, 24));
    EXPECT_FALSE(layout.LeftEnabled);
    EXPECT_TRUE(layout.RightEnabled);
    // The trays themselves stay in stacking order.
    EXPECT_EQ(boxes.Trays[1]->Number, 3);
}

TEST_F(TraySet, TrayBarWithRoomForAllResetsTheFirstButtonAndDisablesScrolling) {
    boxes.addTray(1);
    boxes.addTray(2);
    boxes.FirstVisibleTray = 2;
    const TrayBarLayout layout = boxes.LayoutTrayBar(true, horizontalBar(400));
    EXPECT_EQ(boxes.FirstVisibleTray, 1);
    EXPECT_TRUE(layout.Buttons[0].Visible && layout.Buttons[1].Visible);
    EXPECT_FALSE(layout.LeftEnabled || layout.RightEnabled);
}

TEST_F(TraySet, TrayBarScrolledToTheEndEnablesOnlyBackwards) {
    for (int n = 1; n <= 5; ++n) {
        boxes.addTray(n);
    }
    boxes.FirstVisibleTray = 40000; // from a damaged saved game
    const TrayBarLayout layout = boxes.LayoutTrayBar(true, horizontalBar(130));
    EXPECT_EQ(boxes.FirstVisibleTray, 3);
    EXPECT_FALSE(layout.Buttons[1].Visible);
    EXPECT_TRUE(layout.Buttons[2].Visible && layout.Buttons[4].Visible);
    EXPECT_TRUE(layout.LeftEnabled);
    EXPECT_FALSE(layout.RightEnabled);
}

TEST_F(TraySet, VerticalTrayBarUsesUpAndDown) {
    for (int n = 1; n <= 4; ++n) {
        boxes.addTray(n);
    }
    TrayBarMetrics bar = horizontalBar(30);
    bar.Vertical = true;
    bar.BarHeight = 130;
    bar.TemplateButton = Rect::fromSize(3, 20, 24, 24);
    const TrayBarLayout layout = boxes.LayoutTrayBar(true, bar);
    EXPECT_TRUE(layout.ShowUpDown);
    EXPECT_FALSE(layout.ShowLeftRight);
    EXPECT_EQ(layout.UpButton.Top, 3);
    EXPECT_EQ(layout.DownButton.Top, 130 - 16 - 3);
    EXPECT_EQ(boxes.TrayBarCapacity, 3);
    EXPECT_EQ(layout.Buttons[1].Bounds, Rect::fromSize(3, 50, 24, 24));
    EXPECT_TRUE(layout.DownEnabled);
    EXPECT_FALSE(layout.UpEnabled);
    const TrayBarLayout still = boxes.LayoutTrayBar(false, bar);
    EXPECT_FALSE(still.Relayout);
    EXPECT_TRUE(still.Buttons.empty());
    EXPECT_FALSE(still.UpEnabled || still.DownEnabled);
}

} // namespace
} // namespace zg

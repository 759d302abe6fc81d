#include "TraySupport.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

class Tray : public ::testing::Test {
protected:
    Tray() {
        boxes.CreateTrays(640, 480);
        tray = &boxes.addTray(1);
        tray->SetBounds(Rect::fromSize(100, 50, 200, 150));
    }
    test::FakeHost host;
    test::TestBoxes boxes{host};
    TBox* tray = nullptr;
};

TEST_F(Tray, TopSizingBandIsFivePixelsDeep) {
    EXPECT_EQ(tray->EdgeCursor(200, 54), CursorShape::SizeNS);
    EXPECT_EQ(tray->EdgeCursor(200, 55), CursorShape::Default);
}

TEST_F(Tray, EdgeCursorNamesEdgesAndCorners) {
    EXPECT_EQ(tray->EdgeCursor(100, 120), CursorShape::SizeWE); // left band, 8 deep
    EXPECT_EQ(tray->EdgeCursor(108, 120), CursorShape::Default);
    EXPECT_EQ(tray->EdgeCursor(299, 120), CursorShape::SizeWE);
    EXPECT_EQ(tray->EdgeCursor(292, 120), CursorShape::Default);
    EXPECT_EQ(tray->EdgeCursor(200, 193), CursorShape::SizeNS); // bottom band, 7 deep
    EXPECT_EQ(tray->EdgeCursor(200, 192), CursorShape::Default);
    EXPECT_EQ(tray->EdgeCursor(101, 51), CursorShape::SizeNWSE);
    EXPECT_EQ(tray->EdgeCursor(298, 198), CursorShape::SizeNWSE);
    EXPECT_EQ(tray->EdgeCursor(298, 51), CursorShape::SizeNESW);
    EXPECT_EQ(tray->EdgeCursor(101, 198), CursorShape::SizeNESW);
    EXPECT_EQ(tray->EdgeCursor(99, 120), CursorShape::Default);
    EXPECT_EQ(tray->EdgeCursor(300, 120), CursorShape::Default);
}

TEST_F(Tray, ResizingFromTheLeftStopsAHundredPixelsFromTheRightEdge) {
    int32_t x = 101, y = 120;
    tray->BeginResize(x, y, CursorShape::SizeWE);
    EXPECT_EQ(x, 300); // the right edge stays put
    EXPECT_EQ(y, 50);
    int32_t mx = 280, my = 130;
    tray->TrackResize(mx, my, CursorShape::SizeWE);
    EXPECT_EQ(mx, 200);
    EXPECT_EQ(my, 200);
    mx = 20;
    tray->TrackResize(mx, my, CursorShape::SizeWE);
    EXPECT_EQ(mx, 19); // the grab offset of 1 pixel keeps the edge under the mouse
}

TEST_F(Tray, ResizingFromTheRightOrBottomKeepsTheMinimumSize) {
    int32_t x = 298, y = 196;
    tray->BeginResize(x, y, CursorShape::SizeNWSE);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
    int32_t mx = 120, my = 60;
    tray->TrackResize(mx, my, CursorShape::SizeNWSE);
    EXPECT_EQ(mx, 200); // Left + 100
    EXPECT_EQ(my, 125); // Top + 75
}

TEST_F(Tray, ResizingFromTheTopStopsSeventyFivePixelsFromTheBottom) {
    int32_t x = 200, y = 52;
    tray->BeginResize(x, y, CursorShape::SizeNS);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 200);
    int32_t mx = 400, my = 190;
    tray->TrackResize(mx, my, CursorShape::SizeNS);
    EXPECT_EQ(mx, 300); // the width is unchanged
    EXPECT_EQ(my, 125);
}

TEST_F(Tray, TitleShowsTheNumberAndTheDescription) {
    TBox& three = boxes.addTray(3);
    EXPECT_EQ(three.Title(), "Tray 3");
    three.Description = "Edges";
    EXPECT_EQ(three.Title(), "Tray 3: Edges");
    Bitmap24 target(640, 480);
    three.Draw(target, target.bounds(), host);
    ASSERT_FALSE(host.texts.empty());
    EXPECT_EQ(host.texts.back(), "Tray 3: Edges");
}

TEST_F(Tray, TitleTextStaysInsideTheTitleRectangle) {
    tray->Description = std::string(60, 'x'); // far wider than the tray
    Bitmap24 target(640, 480);
    target.fill(rgb(1, 2, 3));
    tray->Draw(target, target.bounds(), host);
    const Rect title = tray->TitleRect();
    EXPECT_EQ(title, (Rect{102, 52, 276, 68}));
    // The fake host draws text as black blocks from the text origin (106, 52).
    EXPECT_EQ(target.pixel(275, 55), rgb(0, 0, 0));
    EXPECT_EQ(target.pixel(106, 52), rgb(0, 0, 0));
    EXPECT_NE(target.pixel(277, 55), rgb(0, 0, 0)); // the minimise button's face
    EXPECT_NE(target.pixel(200, 68), rgb(0, 0, 0));
}

TEST_F(Tray, DrawingShowsFrameClientGradientAndButton) {
    Bitmap24 target(640, 480);
    tray->Draw(target, target.bounds(), host);
    EXPECT_EQ(target.pixel(104, 120), kTrayButtonFace); // frame
    EXPECT_EQ(target.pixel(100, 120), kTrayHighlight);  // raised outer bevel
    EXPECT_EQ(target.pixel(299, 120), kTrayShadow);
    EXPECT_EQ(target.pixel(150, 78), tray->Color); // first gradient row: full colour
    // The last gradient row, i = H - 41 = 109: (150 - 54) * c / 150.
    EXPECT_EQ(target.pixel(150, 78 + 109), rgb(163, 81, 122));
    EXPECT_EQ(target.pixel(150, 75), tray->Color); // client above the gradient
    const Rect b = tray->MinimiseRect();
    EXPECT_EQ(b, (Rect{277, 54, 293, 70}));
    EXPECT_EQ(target.pixel(b.Left, b.Top), kTrayHighlight);
    EXPECT_EQ(target.pixel(b.Right - 1, b.Bottom - 1), kTrayDarkShadow);
    EXPECT_EQ(target.pixel(b.Left + 7, b.Top + 11), kTrayButtonText);
}

TEST_F(Tray, PressedButtonLooksSunken) {
    EXPECT_TRUE(tray->HitMinimise(280, 60));
    Bitmap24 target(640, 480);
    tray->Draw(target, target.bounds(), host);
    const Rect b = tray->MinimiseRect();
    EXPECT_EQ(target.pixel(b.Left, b.Top), kTrayDarkShadow);
    EXPECT_EQ(target.pixel(b.Right - 1, b.Bottom - 1), kTrayHighlight);
    EXPECT_FALSE(tray->HitMinimise(270, 60));
    EXPECT_FALSE(tray->Pressed);
}

TEST_F(Tray, MainBoardAreaHasNoFrameAndNoButton) {
    TBox& board = boxes.mainArea();
    EXPECT_FALSE(board.HitMinimise(10, 10));
    EXPECT_FALSE(board.HitMinimise(640 - 20, 8));
    EXPECT_EQ(board.ClientRect(), board.OuterRect());
    Bitmap24 target(640, 480);
    board.Draw(target, target.bounds(), host);
    EXPECT_EQ(target, Bitmap24(640, 480));
}

TEST_F(Tray, ShadowIsTwoBlackBandsOffsetByItsWidth) {
    Bitmap24 target(640, 480);
    target.fill(rgb(9, 9, 9));
    tray->DrawShadow(target, 5);
    EXPECT_EQ(target.pixel(105, 200), rgb(0, 0, 0));
    EXPECT_EQ(target.pixel(304, 204), rgb(0, 0, 0));
    EXPECT_EQ(target.pixel(300, 55), rgb(0, 0, 0));
    EXPECT_EQ(target.pixel(104, 200), rgb(9, 9, 9)); // the corners are not drawn
    EXPECT_EQ(target.pixel(300, 54), rgb(9, 9, 9));
}

TEST(TrayCascade, TheThirdUserTrayStartsAtSixtySixty) {
    test::FakeHost host;
    test::TestBoxes boxes(host);
    boxes.CreateTrays(640, 480);
    boxes.addTray(1);
    boxes.addTray(2);
    const TBox& third = boxes.addTray(3);
    EXPECT_EQ(third.Left, 60);
    EXPECT_EQ(third.Top, 60);
    EXPECT_EQ(third.Width, 200);
    EXPECT_EQ(third.Height, 150);
    EXPECT_EQ(third.Color, rgb(255, 128, 192));
}

TEST(TrayCascade, WrapsWithinTheBoardLessThirtyTwo) {
    test::FakeHost host;
    test::TestBoxes boxes(host);
    boxes.CreateTrays(100, 1000); // x wraps modulo 68
    for (int n = 1; n <= 3; ++n) {
        boxes.addTray(n);
    }
    const TBox& fourth = boxes.addTray(4);
    EXPECT_EQ(fourth.Left, 80 % 68);
    EXPECT_EQ(fourth.Top, 80);
}

TEST(TrayCascade, ABoardOfThirtyTwoPixelsOrLessDoesNotCascadeThatWay) {
    test::FakeHost host;
    test::TestBoxes boxes(host);
    boxes.CreateTrays(32, 300);
    boxes.addTray(1);
    const TBox& second = boxes.addTray(2);
    EXPECT_EQ(second.Left, 0);
    EXPECT_EQ(second.Top, 40);
    boxes.CreateTrays(0, -5);
    const TBox& lone = boxes.addTray(1);
    EXPECT_EQ(lone.Left, 0);
    EXPECT_EQ(lone.Top, 0);
}

TEST(TrayStamps, EachNewTrayComesToTheFront) {
    test::FakeHost host;
    test::TestBoxes boxes(host);
    boxes.CreateTrays(640, 480);
    TBox& one = boxes.addTray(1);
    EXPECT_TRUE(one.IsFront());
    TBox& two = boxes.addTray(2);
    EXPECT_FALSE(one.IsFront());
    EXPECT_TRUE(two.IsFront());
    EXPECT_GT(two.StackStamp, one.StackStamp);
    one.TakeStamp();
    EXPECT_TRUE(one.IsFront());
    EXPECT_EQ(boxes.mainArea().StackStamp, 0);
}

TEST(TrayPieces, PieceAtPointFindsTheTopmostPieceByShape) {
    test::FakeHost host;
    test::TestBoxes boxes(host);
    test::makePieces(boxes, 3, 16, 640, 480);
    TBox& tray = boxes.addTray(1);
    tray.SetBounds(Rect::fromSize(100, 100, 200, 150));
    boxes.TransferPieces({boxes.Pieces[0], boxes.Pieces[1]}, tray);
    boxes.Pieces[0]->Left = 150;
    boxes.Pieces[0]->Top = 150;
    boxes.Pieces[1]->Left = 156;
    boxes.Pieces[1]->Top = 150;
    EXPECT_EQ(tray.PieceAtPoint(160, 158, true, boxes.MaskAtlas), boxes.Pieces[1]);
    EXPECT_EQ(tray.PieceAtPoint(152, 158, true, boxes.MaskAtlas), boxes.Pieces[0]);
    // A disc's corner is outside its shape but inside its rectangle.
    EXPECT_EQ(tray.PieceAtPoint(150, 150, true, boxes.MaskAtlas), nullptr);
    EXPECT_EQ(tray.PieceAtPoint(150, 150, false, boxes.MaskAtlas), boxes.Pieces[0]);
    // Outside the client area nothing is hit, even on a piece.
    boxes.Pieces[0]->Left = 98;
    EXPECT_EQ(tray.PieceAtPoint(105, 158, false, boxes.MaskAtlas), nullptr);
}

} // namespace
} // namespace zg

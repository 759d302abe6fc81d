#include "TraySupport.h"
#include "board/TMural.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

/// A 400 x 300 board with 40 pieces: most on the board, some in three
/// overlapping trays (one tray partly off the board, one minimised), groups of
/// two here and there, and one hidden piece.
class BoardDraw : public ::testing::TestWithParam<int> {
protected:
    BoardDraw() : mural(host) {
        host.depth = GetParam();
        test::makePieces(boxes, 40, 24, 400, 300);
        boxes.BackBuffer.resize(400, 300);
        mural.SetWallSize(400, 300);
        mural.PaintWall(false, nullptr, rgb(30, 120, 200));
        boxes.Rng.RandSeed = 7;
        for (TFormPiece* p : boxes.Pieces) {
            p->Left = int32_t(boxes.Rng.Random(420)) - 20;
            p->Top = int32_t(boxes.Rng.Random(320)) - 20;
            p->GroupId = p->Index / 2 * 2 == p->Index ? p->Index : p->Index - 1; // pairs share a group
        }
        const Rect places[] = {Rect::fromSize(40, 30, 200, 150), Rect::fromSize(150, 90, 180, 160),
                               Rect::fromSize(300, 200, 200, 150)};
        for (int n = 1; n <= 3; ++n) {
            TBox& tray = boxes.addTray(n);
            tray.SetBounds(places[n - 1]);
            tray.Color = rgb(uint8_t(60 * n), 200, uint8_t(250 - 50 * n));
            tray.Description = n == 2 ? "Edges" : "";
            PieceList some;
            for (int i = 0; i < 6; ++i) {
                some.push_back(boxes.Pieces[std::size_t(n * 10 + i)]);
            }
            boxes.TransferPieces(some, tray);
            // Spread them over the client area and a little past it.
            const Rect c = tray.ClientRect();
            for (int i = 0; i < 6; ++i) {
                some[std::size_t(i)]->Left = c.Left - 10 + i * 30;
                some[std::size_t(i)]->Top = c.Top - 5 + (i % 3) * 40;
            }
        }
        boxes.TrayByNumber(3).Open = false;
        boxes.TrayByNumber(1).Pressed = true;
        boxes.Pieces[5]->Hidden = true;
        boxes.SortAllPieces();
        boxes.DrawBoard(mural);
        full = boxes.BackBuffer;
    }

    test::FakeHost host;
    test::TestBoxes boxes{host};
    TMural mural;
    Bitmap24 full;
};

TEST_P(BoardDraw, RedrawingAnyRectangleGivesThePixelsOfAFullRedraw) {
    const Rect probes[] = {{0, 0, 400, 300},    {35, 25, 60, 50},    {100, 40, 101, 300},
                           {230, 95, 250, 260}, {-50, -50, 20, 20},  {380, 280, 900, 900},
                           {140, 85, 160, 100}, {44, 34, 46, 52},    {200, 150, 200, 160},
                           {0, 150, 400, 151},  {326, 92, 331, 250}, {155, 95, 175, 112}};
    for (const Rect& r : probes) {
        boxes.BackBuffer.fill(rgb(7, 77, 177));
        boxes.DrawBoard(mural, r);
        const Rect in = intersection(r, boxes.BackBuffer.bounds());
        for (int32_t y = in.Top; y < in.Bottom; ++y) {
            for (int32_t x = in.Left; x < in.Right; ++x) {
                ASSERT_EQ(boxes.BackBuffer.pixel(x, y), full.pixel(x, y))
                    << "at " << x << "," << y << " redrawing " << r.Left << "," << r.Top << "," << r.Right
                    << "," << r.Bottom;
            }
        }
        // Nothing outside the rectangle was touched.
        if (!in.isEmpty() && in.Left > 0) {
            EXPECT_EQ(boxes.BackBuffer.pixel(in.Left - 1, in.Top), rgb(7, 77, 177));
        }
    }
}

TEST_P(BoardDraw, TraysCoverTheBoardsPiecesAndTheFrontTrayCoversTheOthers) {
    const TBox& two = boxes.TrayByNumber(2);
    // Tray 2 is in front of tray 1 where they overlap: its left frame shows.
    EXPECT_EQ(full.pixel(two.Left + 4, two.Top + 40), kTrayButtonFace);
    // A board piece moved under tray 2 stays hidden by it.
    TFormPiece& p = *boxes.Pieces[0];
    p.Left = two.Left + 40;
    p.Top = two.Top + 40;
    boxes.DrawBoard(mural);
    for (int32_t y = p.Top; y < p.Top + 24; ++y) {
        for (int32_t x = p.Left; x < p.Left + 24; ++x) {
            ASSERT_EQ(boxes.BackBuffer.pixel(x, y), full.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST_P(BoardDraw, AMinimisedTrayDrawsNeitherItselfNorItsPieces) {
    boxes.Trays.erase(boxes.Trays.begin() + 3); // tray 3, the minimised one
    ASSERT_EQ(boxes.TrayByNumber(3).Number, 0);
    boxes.DrawBoard(mural);
    EXPECT_EQ(boxes.BackBuffer, full);
}

INSTANTIATE_TEST_SUITE_P(Depths, BoardDraw, ::testing::Values(24, 16));

} // namespace
} // namespace zg

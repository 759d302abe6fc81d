#include "CutFixture.h"
#include "gfx/RasterOps.h"

#include <gtest/gtest.h>

#include <random>

namespace zg {
namespace {

using test::CutAndExtracted;

constexpr Color kWhite = rgb(255, 255, 255);

class Drawing : public ::testing::Test {
protected:
    CutAndExtracted c{200, 150, 4, 3, kStyleClassic, 5};
    Bitmap24 board{320, 240};

    void SetUp() override { board.fill(kWhite); }

    TFormPiece& piece(int i) { return *c.pieces.Pieces[std::size_t(i)]; }
    /// Puts `p` at a random place, often partly off the board, fills the
    /// board with random pixels and returns a random clip rectangle.
    Rect scatter(TFormPiece& p, std::mt19937& rng) {
        const auto next = [&](int32_t range) { return int32_t(rng() % uint32_t(range)); };
        p.Left = next(board.width() + 60) - 70;
        p.Top = next(board.height() + 60) - 70;
        const Rect clip = Rect::fromSize(next(board.width()) - 20, next(board.height()) - 20,
                                         next(board.width()), next(board.height()));
        for (int32_t y = 0; y < board.height(); ++y) {
            for (int32_t x = 0; x < board.width(); ++x) {
                board.setPixel(x, y, Color(rng() & 0xFFFFFF));
            }
        }
        return clip;
    }
    bool onPiece(const TFormPiece& p, int32_t bx, int32_t by) const {
        return p.boardRect().contains(bx, by) &&
               !c.pieces.MaskAtlas.isWhite(p.CellX + bx - p.Left, p.CellY + by - p.Top);
    }
};

TEST_F(Drawing, PieceOverWhiteShowsItsPixelsAndLeavesTheRestWhite) {
    TFormPiece& p = piece(5);
    p.Left = 37;
    p.Top = 41;
    c.pieces.drawPiece(p, board, board.bounds());
    for (int32_t y = 0; y < board.height(); ++y) {
        for (int32_t x = 0; x < board.width(); ++x) {
            const Color expected =
                onPiece(p, x, y) ? c.pieces.Picture.pixel(p.HomeX + x - p.Left, p.HomeY + y - p.Top) : kWhite;
            ASSERT_EQ(board.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(Drawing, HiddenPieceDrawsNothing) {
    TFormPiece& p = piece(0);
    p.Left = 10;
    p.Top = 10;
    p.Hidden = true;
    const Bitmap24 before = board;
    c.pieces.drawPiece(p, board, board.bounds());
    c.pieces.drawPieces({&p}, board, nullptr);
    EXPECT_EQ(board, before);
}

TEST_F(Drawing, NothingIsDrawnOutsideTheClip) {
    TFormPiece& p = piece(6);
    p.Left = 50;
    p.Top = 60;
    const Rect clip = Rect::fromSize(p.Left + 10, p.Top + 5, 20, 15);
    c.pieces.drawPiece(p, board, clip);
    bool drewInside = false;
    for (int32_t y = 0; y < board.height(); ++y) {
        for (int32_t x = 0; x < board.width(); ++x) {
            if (!clip.contains(x, y)) {
                ASSERT_EQ(board.pixel(x, y), kWhite) << x << "," << y;
            } else if (board.pixel(x, y) != kWhite) {
                drewInside = true;
            }
        }
    }
    EXPECT_TRUE(drewInside);
}

TEST_F(Drawing, PieceHangingOffTheBoardIsClippedToIt) {
    TFormPiece& p = piece(0);
    p.Left = -20;
    p.Top = board.height() - 15;
    c.pieces.drawPiece(p, board, board.bounds());
    for (int32_t y = p.Top; y < board.height(); ++y) {
        for (int32_t x = 0; x < p.Left + p.Width; ++x) {
            if (onPiece(p, x, y)) {
                ASSERT_EQ(board.pixel(x, y),
                          c.pieces.Picture.pixel(p.HomeX + x - p.Left, p.HomeY + y - p.Top));
            }
        }
    }
}

TEST_F(Drawing, LaterPiecesInTheListPaintOnTop) {
    TFormPiece& a = piece(0);
    TFormPiece& b = piece(1);
    a.Left = b.Left = 30;
    a.Top = b.Top = 30;
    c.pieces.drawPieces({&a, &b}, board, nullptr);
    for (int32_t y = 30; y < 30 + b.Height; ++y) {
        for (int32_t x = 30; x < 30 + b.Width; ++x) {
            if (onPiece(b, x, y)) {
                ASSERT_EQ(board.pixel(x, y), c.pieces.Picture.pixel(b.HomeX + x - 30, b.HomeY + y - 30));
            }
        }
    }
}

TEST_F(Drawing, ClippedListSkipsPiecesOutsideTheClip) {
    TFormPiece& near = piece(2);
    TFormPiece& far = piece(3);
    near.Left = 10;
    near.Top = 10;
    far.Left = 200;
    far.Top = 150;
    Bitmap24 clipped = board;
    const Rect clip{0, 0, 100, 100};
    c.pieces.drawPieces({&near, &far}, clipped, &clip);
    Bitmap24 onlyNear = board;
    c.pieces.drawPiece(near, onlyNear, board.bounds());
    EXPECT_EQ(clipped, onlyNear);
}

TEST_F(Drawing, SilhouettesAreBlackExactlyOnThePieces) {
    TFormPiece& p = piece(4);
    p.Left = 70;
    p.Top = 20;
    c.pieces.stampSilhouettes({&p}, board, Point{50, 0});
    Bitmap1 mask(board.width(), board.height());
    c.pieces.stampSilhouettes({&p}, mask, Point{50, 0});
    for (int32_t y = 0; y < board.height(); ++y) {
        for (int32_t x = 0; x < board.width(); ++x) {
            const bool on = onPiece(p, x + 50, y);
            ASSERT_EQ(board.pixel(x, y), on ? rgb(0, 0, 0) : kWhite) << x << "," << y;
            ASSERT_EQ(mask.isWhite(x, y), !on) << x << "," << y;
        }
    }
}

TEST_F(Drawing, HitTestFollowsTheMaskNotTheBox) {
    TFormPiece& p = piece(5);
    p.Left = 100;
    p.Top = 100;
    int hits = 0, misses = 0;
    for (int32_t y = p.Top - 3; y < p.Top + p.Height + 3; ++y) {
        for (int32_t x = p.Left - 3; x < p.Left + p.Width + 3; ++x) {
            const bool hit = c.pieces.hitTest(p, x, y);
            ASSERT_EQ(hit, onPiece(p, x, y)) << x << "," << y;
            (hit ? hits : misses)++;
        }
    }
    EXPECT_GT(hits, 0);
    EXPECT_GT(misses, 2 * (p.Width + p.Height)); // the box corners miss as well as the rim
}

TEST_F(Drawing, OnePassDrawEqualsMaskAndThenImageOnRandomAtlases) {
    // Random atlas contents (not black outside the pieces) and random places
    // and clips, many of them off the board's top-left or cutting through a
    // mask byte, so that every path of the draw is compared with the two
    // separate transfers it replaces.
    std::mt19937 rng(31);
    const auto next = [&](int32_t range) { return int32_t(rng() % uint32_t(range)); };
    Bitmap24& image = c.pieces.ImageAtlas;
    Bitmap1& mask = c.pieces.MaskAtlas;
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, Color(rng() & 0xFFFFFF));
            mask.setWhite(x, y, ((x / 5 + y / 4) & 1) != 0 || next(9) == 0);
        }
    }
    for (TFormPiece* p : c.pieces.Pieces) {
        p->ImageInAtlas = true; // the random cells are what is drawn
    }
    for (int round = 0; round < 300; ++round) {
        TFormPiece& p = piece(next(c.pieces.pieceCount()));
        const Rect clip = scatter(p, rng);
        Bitmap24 expected = board;
        const Rect visible = intersection(intersection(p.boardRect(), clip), board.bounds());
        if (!visible.isEmpty()) {
            const Rect cell = Rect::fromSize(p.CellX + visible.Left - p.Left, p.CellY + visible.Top - p.Top,
                                             visible.width(), visible.height());
            andMask(expected, visible.Left, visible.Top, mask, cell);
            orImage(expected, visible.Left, visible.Top, image, cell);
        }
        c.pieces.drawPiece(p, board, clip);
        ASSERT_EQ(board, expected) << "round " << round << ": piece " << p.Index << " at " << p.Left << ","
                                   << p.Top << " clip " << clip.Left << "," << clip.Top << " " << clip.width()
                                   << "x" << clip.height();
    }
}

TEST_F(Drawing, PieceFromThePictureLooksAsFromItsFilledCell) {
    // Freshly built pieces are drawn from the picture; once their cells are
    // filled, from the atlas. Both must look the same at any place and clip,
    // off the board's edges and cutting through mask bytes included.
    c.pieces.drawImageAtlas();
    std::mt19937 rng(57);
    const auto next = [&](int32_t range) { return int32_t(rng() % uint32_t(range)); };
    for (int round = 0; round < 300; ++round) {
        TFormPiece& p = piece(next(c.pieces.pieceCount()));
        const Rect clip = scatter(p, rng);
        Bitmap24 fromCell = board;
        c.pieces.drawPiece(p, fromCell, clip);
        p.ImageInAtlas = false;
        c.pieces.drawPiece(p, board, clip);
        p.ImageInAtlas = true;
        ASSERT_EQ(board, fromCell) << "round " << round << ": piece " << p.Index << " at " << p.Left << ","
                                   << p.Top;
    }
}

TEST_F(Drawing, FillRectangleIsClippedToTheTarget) {
    TPieces::fillRectangle(board, {-5, -5, 10, 10}, rgb(1, 2, 3));
    EXPECT_EQ(board.pixel(0, 0), rgb(1, 2, 3));
    EXPECT_EQ(board.pixel(9, 9), rgb(1, 2, 3));
    EXPECT_EQ(board.pixel(10, 10), kWhite);
}

} // namespace
} // namespace zg

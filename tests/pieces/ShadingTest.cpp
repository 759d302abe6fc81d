#include "CutFixture.h"
#include "gfx/RasterOps.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

constexpr Color kWhite = rgb(255, 255, 255);

/// A piece set drawn with a chosen outline style.
class StyledPieces : public TPieces {
public:
    using TPieces::TPieces;
    int32_t style = kOutlineNone;
    int32_t outlineStyle() const override { return style; }
};

uint64_t pixelHash(const Bitmap24& b) {
    uint64_t h = 1469598103934665603ull;
    for (int32_t y = 0; y < b.height(); ++y) {
        for (int32_t x = 0; x < b.width(); ++x) {
            h = (h ^ b.pixel(x, y)) * 1099511628211ull;
        }
    }
    return h;
}

class Shading : public ::testing::Test {
protected:
    test::CutAndExtractedAs<StyledPieces> c{400, 300, 4, 3, kStyleClassic, 5};
    Bitmap24 board{320, 240};

    void SetUp() override { board.fill(kWhite); }

    TFormPiece& piece(int i) { return *c.pieces.Pieces[std::size_t(i)]; }
    void restyle(int32_t style) {
        c.pieces.style = style;
        c.pieces.buildShading();
    }
    /// The piece drawn as it is without any outline: its shape, then its image.
    Bitmap24 plain(const TFormPiece& p) const {
        Bitmap24 b = board;
        const Rect cell = Rect::fromSize(p.CellX, p.CellY, p.Width, p.Height);
        andMask(b, p.Left, p.Top, c.pieces.MaskAtlas, cell);
        orImage(b, p.Left, p.Top, c.pieces.ImageAtlas, cell);
        return b;
    }
    bool onPiece(const TFormPiece& p, int32_t x, int32_t y) const {
        return p.boardRect().contains(x, y) &&
               !c.pieces.MaskAtlas.isWhite(p.CellX + x - p.Left, p.CellY + y - p.Top);
    }
};

TEST(ShadingSizes, OutlineWidthAndWoodThicknessFollowThePieceSize) {
    test::FakeHost host;
    StyledPieces pieces(host);
    const auto sizes = [&](int32_t style, uint16_t pw, uint16_t ph) {
        pieces.style = style;
        pieces.State.PieceWidth = pw;
        pieces.State.PieceHeight = ph;
        pieces.computeShadingSizes();
        return std::pair{pieces.OutlineWidth, pieces.WoodThickness};
    };
    EXPECT_EQ(sizes(TPieces::kOutlineCard, 60, 60).first, 2);
    EXPECT_EQ(sizes(TPieces::kOutlineCard, 120, 120).first, 3);
    EXPECT_EQ(sizes(TPieces::kOutlineWood, 240, 240).first, 6);
    EXPECT_EQ(sizes(TPieces::kOutlineWood, 640, 640).first, 6);
    EXPECT_EQ(sizes(TPieces::kOutlinePaper, 240, 240).first, 1);
    EXPECT_EQ(sizes(TPieces::kOutlineWood, 150, 150).second, 10);
    EXPECT_EQ(sizes(TPieces::kOutlineWood, 29, 29).second, 1);
    EXPECT_EQ(sizes(TPieces::kOutlineWood, 8, 8).second, 1);
}

TEST_F(Shading, CardPieceIsLitUpperLeftAndDarkLowerRight) {
    restyle(TPieces::kOutlineCard);
    TFormPiece& p = piece(5);
    p.Left = 60;
    p.Top = 50;
    const Bitmap24 flat = plain(p);
    c.pieces.drawPiece(p, board, board.bounds());
    int lighter = 0, darker = 0;
    for (int32_t y = 0; y < board.height(); ++y) {
        for (int32_t x = 0; x < board.width(); ++x) {
            if (!onPiece(p, x, y)) {
                ASSERT_EQ(board.pixel(x, y), kWhite);
                continue;
            }
            const int before = redOf(flat.pixel(x, y)) + greenOf(flat.pixel(x, y));
            const int after = redOf(board.pixel(x, y)) + greenOf(board.pixel(x, y));
            lighter += after > before && x < p.Left + p.Width / 2 && y < p.Top + p.Height / 2;
            darker += after < before && x >= p.Left + p.Width / 2 && y >= p.Top + p.Height / 2;
        }
    }
    EXPECT_GT(lighter, 20);
    EXPECT_GT(darker, 20);
    // Pinned after looking at the drawing: any change of the bevel shows here.
    EXPECT_EQ(pixelHash(board), 10526028120879472289ull);
}

TEST_F(Shading, WoodPieceHasASideFaceBelowItAsThickAsTheWood) {
    restyle(TPieces::kOutlineWood);
    const int32_t t = c.pieces.WoodThickness;
    ASSERT_EQ(t, c.pieces.State.PieceHeight / 15);
    TFormPiece& p = piece(5);
    p.Left = 60;
    p.Top = 50;
    c.pieces.drawPieces({&p}, board, nullptr);
    // Below the lowest piece pixel of a column: t rows of wood, then white.
    int columns = 0;
    for (int32_t x = p.Left; x < p.Left + p.Width; ++x) {
        int32_t bottom = -1;
        for (int32_t y = p.Top; y < p.Top + p.Height; ++y) {
            if (onPiece(p, x, y)) {
                bottom = y;
            }
        }
        if (bottom < 0) {
            continue;
        }
        ++columns;
        for (int32_t y = bottom + 1; y <= bottom + t; ++y) {
            ASSERT_NE(board.pixel(x, y), kWhite) << x << "," << y;
        }
        ASSERT_EQ(board.pixel(x, bottom + t + 1), kWhite) << x;
    }
    EXPECT_GT(columns, 20);
    // Pinned after looking at the drawing: any change of the side faces shows here.
    EXPECT_EQ(pixelHash(board), 17675326426045588471ull);
}

TEST_F(Shading, NoneDrawsThePlainPieceAndEmptiesEverySprite) {
    restyle(TPieces::kOutlineWood);
    restyle(TPieces::kOutlineNone);
    for (const TFormPiece* p : c.pieces.Pieces) {
        EXPECT_TRUE(p->OutlineSprite.empty());
        EXPECT_TRUE(p->WoodSprite.empty());
    }
    TFormPiece& p = piece(6);
    p.Left = 30;
    p.Top = 20;
    const Bitmap24 expected = plain(p);
    c.pieces.drawPieces({&p}, board, nullptr);
    EXPECT_EQ(board, expected);
}

TEST_F(Shading, TurnedPieceKeepsItsLightFromTheUpperLeft) {
    restyle(TPieces::kOutlineCard);
    TFormPiece& p = piece(5);
    p.Left = 60;
    p.Top = 50;
    c.pieces.TurnPiece(p, 2);
    const Bitmap24 flat = plain(p);
    c.pieces.drawPiece(p, board, board.bounds());
    // Lit pixels gather in the upper-left half, darkened ones in the other.
    int litUpperLeft = 0, litLowerRight = 0, darkUpperLeft = 0, darkLowerRight = 0;
    for (int32_t y = p.Top; y < p.Top + p.Height; ++y) {
        for (int32_t x = p.Left; x < p.Left + p.Width; ++x) {
            if (!onPiece(p, x, y)) {
                continue;
            }
            const bool upperLeft = (x - p.Left) * p.Height + (y - p.Top) * p.Width < p.Width * p.Height;
            const int delta = int(greenOf(board.pixel(x, y))) - int(greenOf(flat.pixel(x, y)));
            (upperLeft ? litUpperLeft : litLowerRight) += delta > 0;
            (upperLeft ? darkUpperLeft : darkLowerRight) += delta < 0;
        }
    }
    EXPECT_GT(litUpperLeft, 2 * litLowerRight);
    EXPECT_GT(darkLowerRight, 2 * darkUpperLeft);
}

} // namespace
} // namespace zg

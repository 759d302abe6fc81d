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

    void SetUp() override {
        board.fill(kWhite);
        c.pieces.drawImageAtlas(); // for plain()
    }

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

namespace zg {
namespace {

/// The bevel rule walked literally: along every down-right diagonal of the
/// w x h box, each run of pixels on the piece gets its first `width` pixels
/// lit and its last g dark, where g = (lit + min(width, n) + 1) / 2, lit
/// counting the lit pixels and n the pixels after the first pixel past the
/// lit band; a diagonal's last pixel ends its run without being counted.
std::vector<uint8_t> walkedBevel(const Bitmap1& mask, int32_t w, int32_t h, int32_t width) {
    std::vector<uint8_t> bytes(std::size_t(w) * std::size_t(h), 0);
    for (int32_t d = 0; d <= w + h - 2; ++d) {
        const int32_t x0 = d < h ? 0 : d - h + 1;
        const int32_t y0 = d < h ? h - 1 - d : 0;
        const int32_t length = std::min(w - x0, h - y0);
        const auto at = [&](int32_t j) -> uint8_t& { return bytes[std::size_t((y0 + j) * w + x0 + j)]; };
        int32_t state = 0, lit = 0, n = 0;
        for (int32_t j = 0; j < length; ++j) {
            const bool in = !mask.isWhite(x0 + j, y0 + j);
            const bool last = j == length - 1;
            if (!in || last) {
                if (state != 0) {
                    const int32_t g = (lit + std::min(width, n) + 1) / 2;
                    const int32_t end = in ? j : j - 1;
                    for (int32_t k = std::max(0, end - g + 1); k <= end; ++k) {
                        at(k) = 186;
                    }
                }
                state = 0;
            } else if (state == 0) {
                state = 1;
                lit = 1;
                n = 0;
                at(j) = 50;
            } else if (state == 1 && lit < width) {
                ++lit;
                at(j) = 50;
            } else if (state == 1) {
                state = 2;
            } else {
                ++n;
            }
        }
    }
    return bytes;
}

// Random blobs in boxes narrower and wider than sixteen pixels, whose widths
// are and are not whole mask bytes, for every band width the styles use.
TEST(ShadingBevel, FollowsTheDiagonalRuleOnRandomShapes) {
    test::FakeHost host;
    StyledPieces pieces(host);
    pieces.createRecords(1);
    TFormPiece& p = *pieces.Pieces[0];
    RandomGenerator rng;
    rng.RandSeed = 99;
    for (const auto& [w, h] : {std::pair{5, 7}, {16, 16}, {23, 40}, {40, 23}, {64, 9}, {75, 61}}) {
        for (int32_t band = 1; band <= 6; ++band) {
            Bitmap1 mask(w, h);
            for (int32_t blob = 0; blob < 4; ++blob) {
                const int32_t cx = rng.Random(w), cy = rng.Random(h), r = 1 + rng.Random(std::max(w, h) / 2);
                for (int32_t y = 0; y < h; ++y) {
                    for (int32_t x = 0; x < w; ++x) {
                        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) {
                            mask.setWhite(x, y, rng.Random(9) == 0); // a few holes
                        }
                    }
                }
            }
            pieces.MaskAtlas = mask;
            p.Width = uint16_t(w);
            p.Height = uint16_t(h);
            pieces.style = band == 1 ? TPieces::kOutlinePaper : TPieces::kOutlineCard;
            pieces.State.PieceWidth = int16_t(40 * band);
            pieces.computeShadingSizes();
            ASSERT_EQ(pieces.OutlineWidth, band);
            pieces.buildPieceShading(p);
            const std::vector<uint8_t> expected = walkedBevel(mask, w, h, band);
            EXPECT_EQ(p.OutlineSprite, pieces.OutlineCoder.encode(w, h, expected.data(), std::size_t(w)))
                << w << " x " << h << ", band " << band;
        }
    }
}

} // namespace
} // namespace zg

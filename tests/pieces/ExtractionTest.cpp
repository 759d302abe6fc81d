#include "CutFixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zg {
namespace {

using test::CutAndExtracted;

TEST(Extraction, TwoByTwoSquareCutHasTheExpectedBoxesAndAtlas) {
    CutAndExtracted c(100, 100, 2, 2, kStyleSquare, 0);
    const TFormPiece& first = *c.pieces.Pieces[0];
    const TFormPiece& last = *c.pieces.Pieces[3];
    EXPECT_EQ(first.boardRect(), Rect::fromSize(0, 0, 51, 51)); // Left/Top are 0 on a fresh record
    EXPECT_EQ(first.homePoint(), (Point{0, 0}));
    EXPECT_EQ(last.homePoint(), (Point{50, 50}));
    EXPECT_EQ(last.Width, 50);
    EXPECT_EQ(last.Height, 50);
    EXPECT_EQ(c.pieces.State.PieceHeight, 51);
    EXPECT_EQ(c.pieces.State.PieceWidth, 56);
    EXPECT_EQ(c.pieces.State.AtlasWidth, 112);
    EXPECT_EQ(c.pieces.State.AtlasHeight, 102);
    EXPECT_EQ(c.buffer.size(), 2u * 14u * 102u);
    EXPECT_EQ(last.CellX, 56);
    EXPECT_EQ(last.CellY, 51);
}

TEST(Extraction, ImageCellHoldsThePictureOnThePieceAndBlackElsewhere) {
    CutAndExtracted c(160, 120, 4, 3, kStyleClassic, 5);
    // A build leaves the cells to be filled when a piece is first turned.
    for (const TFormPiece* p : c.pieces.Pieces) {
        EXPECT_FALSE(p->ImageInAtlas);
    }
    c.pieces.drawImageAtlas();
    for (const TFormPiece* p : c.pieces.Pieces) {
        for (int32_t y = 0; y < c.pieces.State.PieceHeight; ++y) {
            for (int32_t x = 0; x < c.pieces.State.PieceWidth; ++x) {
                const bool on =
                    x < p->Width && y < p->Height && !c.pieces.MaskAtlas.isWhite(p->CellX + x, p->CellY + y);
                const Color expected = on ? c.pieces.Picture.pixel(p->HomeX + x, p->HomeY + y) : rgb(0, 0, 0);
                ASSERT_EQ(c.pieces.ImageAtlas.pixel(p->CellX + x, p->CellY + y), expected)
                    << "piece " << p->Index << " at " << x << "," << y;
            }
        }
    }
}

struct CutCase {
    int32_t width, height, cols, rows;
};

class ExtractionProperties : public ::testing::TestWithParam<std::tuple<int32_t, int32_t, CutCase>> {};

TEST_P(ExtractionProperties, MasksAreDisjointBoxesFitAndEveryPixelIsCovered) {
    const auto [style, oddness, size] = GetParam();
    CutAndExtracted c(size.width, size.height, size.cols, size.rows, style, oddness);
    const TGameState& s = c.pieces.State;
    const Rect picture{0, 0, size.width, size.height};
    EXPECT_GE(s.PieceWidth, s.PieceHeight);
    EXPECT_EQ(s.PieceWidth % 8, 0);
    EXPECT_EQ(s.AtlasWidth % 16, 0);
    for (const TFormPiece* p : c.pieces.Pieces) {
        const Rect home = Rect::fromSize(p->HomeX, p->HomeY, p->Width, p->Height);
        EXPECT_TRUE(picture.contains(home)) << "piece " << p->Index;
        // Fits its cell in all four turns.
        EXPECT_LE(std::max(p->Width, p->Height), s.PieceHeight) << "piece " << p->Index;
        // Nothing of the mask lies outside the box.
        for (int32_t y = 0; y < s.PieceHeight; ++y) {
            for (int32_t x = 0; x < s.PieceWidth; ++x) {
                if (x >= p->Width || y >= p->Height) {
                    ASSERT_TRUE(c.pieces.MaskAtlas.isWhite(p->CellX + x, p->CellY + y));
                }
            }
        }
    }
    const std::vector<int> count = c.coverage();
    int64_t uncovered = 0;
    for (std::size_t i = 0; i < count.size(); ++i) {
        ASSERT_LE(count[i], 1) << "pixel " << i % std::size_t(size.width) << ","
                               << i / std::size_t(size.width);
        uncovered += count[i] == 0;
    }
    // The cutter gives every open area and every line pixel to one piece, and
    // each piece's box takes in all of its own line pixels.
    EXPECT_EQ(uncovered, 0);
}

INSTANTIATE_TEST_SUITE_P(AllStyles, ExtractionProperties,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4, 5, 6),
                                            ::testing::Values(0, 2, 5, 10),
                                            ::testing::Values(CutCase{100, 100, 2, 2},
                                                              CutCase{330, 250, 6, 4}, CutCase{400, 64, 8, 1},
                                                              CutCase{64, 400, 1, 8})),
                         [](const auto& testCase) {
                             const CutCase& s = std::get<2>(testCase.param);
                             return "Style" + std::to_string(std::get<0>(testCase.param)) + "Odd" +
                                    std::to_string(std::get<1>(testCase.param)) + "_" +
                                    std::to_string(s.cols) + "x" + std::to_string(s.rows);
                         });

} // namespace
} // namespace zg

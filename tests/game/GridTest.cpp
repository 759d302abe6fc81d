#include "game/Grid.h"
#include "files/GiftError.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

struct GridCase {
    uint32_t width, height, requested;
    uint16_t cols, rows;
};

class GridExamples : public ::testing::TestWithParam<GridCase> {};

TEST_P(GridExamples, ChoosesTheClosestGrid) {
    const GridCase c = GetParam();
    const GridSize g = computeGrid(c.width, c.height, c.requested);
    EXPECT_EQ(g.Cols, c.cols);
    EXPECT_EQ(g.Rows, c.rows);
    EXPECT_EQ(g.pieceCount(), uint32_t(c.cols) * c.rows);
}

INSTANTIATE_TEST_SUITE_P(KnownPictures, GridExamples,
                         ::testing::Values(GridCase{640, 480, 42, 7, 6}, GridCase{640, 480, 100, 11, 9},
                                           GridCase{800, 600, 200, 16, 12}, GridCase{1000, 1000, 1, 2, 2},
                                           GridCase{4000, 3000, 500, 26, 19}, GridCase{480, 360, 48, 8, 6}));

TEST(Grid, EqualDifferencesKeepTheCellGrowing) {
    // 7 x 6 fits 42 exactly for a run of cell sizes; the last one is taken.
    EXPECT_EQ(computeGrid(640, 480, 42).CellSize, 87);
    EXPECT_EQ(computeGrid(640, 480, 100).CellSize, 56);
}

TEST(Grid, OnePieceOnALargePictureRunsToTheLargestCell) {
    EXPECT_EQ(computeGrid(1000, 1000, 1).CellSize, 513);
}

TEST(Grid, HugeRequestSettlesOnEightPixelCells) {
    const GridSize g = computeGrid(2040, 2040, 65535);
    EXPECT_EQ(g.CellSize, 8);
    EXPECT_EQ(g.Cols, 255);
    EXPECT_EQ(g.Rows, 255);
}

TEST(Grid, RefusesGridsThatCannotBeCut) {
    // 8-pixel cells on 2048 x 2048 make 256 x 256 = 65,536 pieces: one more
    // than a puzzle can hold.
    EXPECT_THROW(computeGrid(2048, 2048, 65535), GiftDamagedError);
    EXPECT_THROW(computeGrid(0, 480, 42), GiftDamagedError);
    EXPECT_THROW(computeGrid(640, 3, 42), GiftDamagedError);
}

} // namespace
} // namespace zg

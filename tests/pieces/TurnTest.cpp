#include "gfx/RasterOps.h"
#include "pieces/RandomGenerator.h"
#include "pieces/TPieces.h"
#include "pieces/TRotate.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

/// Two 40 x 40 cells side by side; piece 1 is a 40 x 30 box in the right
/// cell with random colours and a ragged shape, so any misplaced pixel shows.
class TurnTest : public ::testing::Test {
protected:
    test::FakeHost host;
    TPieces pieces{host};

    void SetUp() override {
        pieces.State.PieceWidth = 40;
        pieces.State.PieceHeight = 40;
        pieces.createRecords(2);
        pieces.ImageAtlas.resize(80, 40);
        pieces.MaskAtlas.resize(80, 40);
        TFormPiece& p = piece();
        p.CellX = 40;
        p.Width = 40;
        p.Height = 30;
        p.Left = 100;
        p.Top = 50;
        RandomGenerator rng;
        rng.RandSeed = 7;
        for (int32_t y = 0; y < 30; ++y) {
            for (int32_t x = 0; x < 40; ++x) {
                const bool on = rng.Random(5) != 0;
                pieces.MaskAtlas.setWhite(40 + x, y, !on);
                pieces.ImageAtlas.setPixel(40 + x, y, on ? Color(rng.Random(0x1000000)) : 0);
            }
        }
    }
    TFormPiece& piece() { return *pieces.Pieces[1]; }
};

TEST_F(TurnTest, QuarterTurnSwapsTheBoxAndPutsTheUpperLeftPixelAtTheUpperRight) {
    const Bitmap24 image = pieces.ImageAtlas;
    const Bitmap1 mask = pieces.MaskAtlas;
    pieces.TurnPiece(piece(), 1);
    EXPECT_EQ(piece().Width, 30);
    EXPECT_EQ(piece().Height, 40);
    EXPECT_EQ(piece().Rotation, 1);
    EXPECT_EQ(piece().Left, 100);
    EXPECT_EQ(piece().Top, 50);
    EXPECT_EQ(pieces.ImageAtlas.pixel(40 + 29, 0), image.pixel(40, 0));
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            // (x, y) of the upright box lands on (29 - y, x).
            ASSERT_EQ(pieces.ImageAtlas.pixel(40 + 29 - y, x), image.pixel(40 + x, y)) << x << "," << y;
            ASSERT_EQ(pieces.MaskAtlas.isWhite(40 + 29 - y, x), mask.isWhite(40 + x, y)) << x << "," << y;
        }
    }
    // The other cell is untouched.
    Bitmap24 left(40, 40);
    copyRect(left, 0, 0, pieces.ImageAtlas, {0, 0, 40, 40});
    EXPECT_EQ(left, Bitmap24(40, 40));
}

TEST_F(TurnTest, TurningByOneThenThreeRestoresImageMaskAndBox) {
    Bitmap24 image(40, 30);
    copyRect(image, 0, 0, pieces.ImageAtlas, {40, 0, 80, 30});
    Bitmap1 mask(40, 30);
    copyRect(mask, 0, 0, pieces.MaskAtlas, {40, 0, 80, 30});
    pieces.TurnPiece(piece(), 1);
    pieces.TurnPiece(piece(), 3);
    EXPECT_EQ(piece().Width, 40);
    EXPECT_EQ(piece().Height, 30);
    EXPECT_EQ(piece().Rotation, 0);
    Bitmap24 imageAfter(40, 30);
    copyRect(imageAfter, 0, 0, pieces.ImageAtlas, {40, 0, 80, 30});
    Bitmap1 maskAfter(40, 30);
    copyRect(maskAfter, 0, 0, pieces.MaskAtlas, {40, 0, 80, 30});
    EXPECT_EQ(imageAfter, image);
    EXPECT_EQ(maskAfter, mask);
}

TEST_F(TurnTest, PendingTurnsAddToTheBaseModuloFour) {
    const Bitmap24 image = pieces.ImageAtlas;
    piece().PendingTurns = 3;
    pieces.RotatePieces({&piece()}, 3, true); // 6 quarter turns: a half turn
    EXPECT_EQ(piece().Rotation, 2);
    EXPECT_EQ(piece().PendingTurns, 0);
    EXPECT_EQ(piece().Width, 40);
    EXPECT_EQ(pieces.ImageAtlas.pixel(40 + 39, 29), image.pixel(40, 0));
    EXPECT_EQ(host.statusTexts.back(), "");
}

TEST_F(TurnTest, ReapplyingAStoredTurnTurnsTheUprightCellAgain) {
    const Bitmap24 image = pieces.ImageAtlas;
    piece().Rotation = 6; // only the quarter turns modulo 4 count
    pieces.ReapplyTurns(pieces.Pieces, false);
    EXPECT_EQ(piece().Rotation, 2);
    EXPECT_EQ(pieces.ImageAtlas.pixel(40 + 39, 29), image.pixel(40, 0));
    EXPECT_EQ(pieces.Pieces[0]->Rotation, 0);
}

TEST_F(TurnTest, RandomTurnsLeaveJoinedPiecesAlone) {
    pieces.Pieces[0]->Joined = true;
    pieces.Pieces[0]->Width = 40;
    pieces.Pieces[0]->Height = 30;
    pieces.Rng.RandSeed = 3;
    RandomGenerator expect;
    expect.RandSeed = 3;
    const uint32_t turns = expect.Random(4);
    pieces.RandomTurns(pieces.Pieces, false);
    EXPECT_EQ(pieces.Pieces[0]->Rotation, 0);
    EXPECT_EQ(pieces.Pieces[0]->Width, 40);
    EXPECT_EQ(piece().Rotation, turns);
    EXPECT_EQ(pieces.Rng.RandSeed, expect.RandSeed);
}

TEST(Rotate, MonochromeBlocksUseEachBitmapsOwnStride) {
    // A 13 x 5 block from column 19 of a 70-wide mask into a 9-wide target.
    Bitmap1 source(70, 8);
    RandomGenerator rng;
    rng.RandSeed = 11;
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 70; ++x) {
            source.setWhite(x, y, rng.Random(2) != 0);
        }
    }
    for (int32_t k = 1; k <= 3; ++k) {
        Bitmap1 target(k == 2 ? 15 : 9, 15);
        TRotate::turn(source, Rect::fromSize(19, 2, 13, 5), target, {1, 1}, k);
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 13; ++x) {
                const Point to = k == 1 ? Point{4 - y, x} : k == 2 ? Point{12 - x, 4 - y} : Point{y, 12 - x};
                ASSERT_EQ(target.isWhite(1 + to.X, 1 + to.Y), source.isWhite(19 + x, 2 + y)) << k;
            }
        }
        // Outside the result the target stays white.
        EXPECT_TRUE(target.isWhite(0, 0));
    }
    Bitmap1 small(4, 4);
    EXPECT_THROW(TRotate::turn(source, Rect::fromSize(19, 2, 13, 5), small, {0, 0}, 1), std::out_of_range);
}

} // namespace
} // namespace zg

#include "files/GiftError.h"
#include "game/TJigsaw.h"
#include "pieces/AtlasTooLargeError.h"
#include "pieces/EdgeShapes.h"
#include "pieces/SortKeys.h"
#include "support/FakeHost.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <map>

namespace zg {
namespace {

/// The parts of a build that the cut decides.
struct Shapes {
    std::vector<Rect> homes;
    Bitmap1 masks;
    friend bool operator==(const Shapes&, const Shapes&) = default;
};

Shapes shapesOf(const TJigsaw& jig) {
    Shapes s;
    for (const TFormPiece* p : jig.Pieces) {
        s.homes.push_back(Rect::fromSize(p->HomeX, p->HomeY, p->Width, p->Height));
    }
    s.masks = jig.MaskAtlas;
    return s;
}

class BuildPuzzleTest : public ::testing::Test {
protected:
    test::FakeHost host;
    TJigsaw jig{host};

    void SetUp() override {
        jig.State.Version = 5;
        jig.State.RequestedPieces = 12;
        jig.State.Seed = 987654;
        jig.State.Style = kStyleClassic;
        jig.State.Oddness = 5;
        jig.Config.BoardWidth = 800;
        jig.Config.BoardHeight = 600;
    }

    Shapes shapes() const { return shapesOf(jig); }

    /// The status texts of each caption, in order, without the caption.
    std::map<std::string, std::vector<int>> progressByCaption() const {
        std::map<std::string, std::vector<int>> out;
        for (const std::string& t : host.statusTexts) {
            const auto colon = t.find(": ");
            if (colon != std::string::npos) {
                out[t.substr(0, colon + 2)].push_back(std::stoi(t.substr(colon + 2)));
            }
        }
        return out;
    }
};

TEST_F(BuildPuzzleTest, KeepsThePictureAndBuildsEveryPiece) {
    const Bitmap24 picture = test::gradientPicture(240, 180);
    jig.BuildPuzzle(picture);
    const TGameState& s = jig.State;
    EXPECT_EQ(jig.Picture, picture);
    EXPECT_EQ(jig.originalPicture(), picture);
    EXPECT_EQ(s.PictureWidth, 240);
    EXPECT_EQ(s.ScaledHeight, 180);
    EXPECT_EQ(s.Cols * s.Rows, 12);
    EXPECT_EQ(jig.pieceCount(), 12);
    EXPECT_EQ(jig.MaskAtlas.width(), s.AtlasWidth);
    EXPECT_EQ(jig.ImageAtlas.height(), s.AtlasHeight);
    EXPECT_EQ(jig.TurnImage.width(), s.PieceWidth);
    EXPECT_EQ(jig.TurnMask.height(), s.PieceHeight);
    EXPECT_EQ(jig.OutlineDataSize, 2u * (s.AtlasWidth / 8u) * s.AtlasHeight);
    EXPECT_EQ(uint32_t(s.MaskBufferSize), jig.OutlineDataSize);
    EXPECT_EQ(jig.MaskAtlas.stride() * std::size_t(jig.MaskAtlas.height()), jig.OutlineDataSize / 2u);
    EXPECT_EQ(jig.mainArea().Pieces.size(), 12u);
    EXPECT_EQ(jig.Pieces[0]->ColorKey, kColorChainFlag);
    EXPECT_EQ(host.cursor(), CursorShape::Default);
    ASSERT_FALSE(host.statusTexts.empty());
    EXPECT_EQ(host.statusTexts.back(), "");
}

TEST_F(BuildPuzzleTest, ProgressTextsAreMultiplesOfFiveAndNeverRepeat) {
    jig.State.RequestedPieces = 300;
    jig.BuildPuzzle(test::gradientPicture(400, 300));
    const auto byCaption = progressByCaption();
    for (const char* caption : {"Generating: ", "Extracting: ", "Drawing: ", "Sorting colors: "}) {
        ASSERT_TRUE(byCaption.count(caption)) << caption;
        const std::vector<int>& seen = byCaption.at(caption);
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i] % 5, 0) << caption << seen[i];
            if (i > 0) {
                EXPECT_GT(seen[i], seen[i - 1]) << caption;
            }
        }
        EXPECT_EQ(seen.back(), 100) << caption;
    }
}

TEST_F(BuildPuzzleTest, StyleAndOddnessAreClampedBeforeCutting) {
    jig.State.Style = 9;
    jig.State.Oddness = 40;
    jig.BuildPuzzle(test::gradientPicture(240, 180));
    EXPECT_EQ(jig.State.Style, kStyleMix);
    EXPECT_EQ(jig.State.Oddness, 10);
}

TEST_F(BuildPuzzleTest, SameSeedCutsTheSamePieces) {
    jig.BuildPuzzle(test::gradientPicture(240, 180));
    const Shapes first = shapes();
    test::FakeHost otherHost;
    TJigsaw other(otherHost);
    other.State = jig.State;
    other.Config = jig.Config;
    other.BuildPuzzle(test::gradientPicture(240, 180));
    EXPECT_EQ(shapesOf(other), first);
    jig.drawImageAtlas();
    other.drawImageAtlas();
    EXPECT_EQ(jig.ImageAtlas, other.ImageAtlas);
}

TEST_F(BuildPuzzleTest, EmptyPictureIsADamagedGift) {
    EXPECT_THROW(jig.BuildPuzzle(Bitmap24()), GiftDamagedError);
}

TEST_F(BuildPuzzleTest, AtlasTooLargeIsADamagedGiftAndRestoresTheCursor) {
    // One column of 833 cells 60 pixels high: with Classic knobs the cells
    // stack to more than 65,535 atlas rows.
    jig.State.RequestedPieces = 833;
    jig.State.Oddness = 0;
    EXPECT_THROW(jig.BuildPuzzle(test::gradientPicture(60, 50000)), GiftDamagedError);
    EXPECT_EQ(jig.State.Rows, 833);
    EXPECT_TRUE(jig.OutlineData.empty());
    EXPECT_TRUE(jig.ImageAtlas.isEmpty());
    EXPECT_EQ(host.cursor(), CursorShape::Default);
    EXPECT_EQ(host.statusTexts.back(), "");
}

TEST_F(BuildPuzzleTest, RescaleToHalfAndBackGivesTheSameMasks) {
    jig.BuildPuzzle(test::gradientPicture(240, 180));
    const Shapes first = shapes();
    jig.drawImageAtlas();
    const Bitmap24 firstImages = jig.ImageAtlas;
    ASSERT_TRUE(jig.Rescale(50));
    EXPECT_EQ(jig.State.ScalePercent, 50);
    EXPECT_EQ(jig.State.ScaledWidth, 120);
    EXPECT_EQ(jig.Picture.width(), 120);
    EXPECT_EQ(jig.Picture.height(), 90);
    EXPECT_EQ(jig.MaskAtlas.width(), jig.State.AtlasWidth);
    EXPECT_LT(jig.State.PieceHeight, first.masks.height());
    EXPECT_EQ(jig.originalPicture(), test::gradientPicture(240, 180));
    ASSERT_TRUE(jig.Rescale(100));
    EXPECT_EQ(jig.Picture, test::gradientPicture(240, 180));
    EXPECT_EQ(jig.originalPicture(), jig.Picture);
    EXPECT_EQ(shapes(), first);
    jig.drawImageAtlas();
    EXPECT_EQ(jig.ImageAtlas, firstImages);
    EXPECT_EQ(host.cursor(), CursorShape::Default);
}

TEST_F(BuildPuzzleTest, RescaleKeepsTheBoardAndTurnsEveryPieceAgain) {
    jig.BuildPuzzle(test::gradientPicture(240, 180));
    TFormPiece& p = *jig.Pieces[4];
    p.Left = 321;
    p.Top = 123;
    p.GroupId = 77;
    p.Rotation = 3;
    const int32_t key = p.ColorKey;
    ASSERT_TRUE(jig.Rescale(80));
    EXPECT_EQ(p.Left, 321);
    EXPECT_EQ(p.Top, 123);
    EXPECT_EQ(p.GroupId, 77);
    EXPECT_EQ(p.ColorKey, key);
    EXPECT_EQ(p.Rotation, 3);
    EXPECT_EQ(p.PendingTurns, 0);
    // The freshly drawn upright cell was turned back: box and mask as turned.
    TJigsaw fresh(host);
    fresh.State = jig.State;
    fresh.Config = jig.Config;
    fresh.BuildPuzzle(test::gradientPicture(240, 180));
    ASSERT_TRUE(fresh.Rescale(80));
    const TFormPiece& q = *fresh.Pieces[4];
    EXPECT_EQ(p.Width, q.Height);
    EXPECT_EQ(p.Height, q.Width);
    for (int32_t y = 0; y < q.Height; ++y) {
        for (int32_t x = 0; x < q.Width; ++x) {
            // A quarter turn anticlockwise takes (x, y) to (y, Width - 1 - x).
            ASSERT_EQ(jig.MaskAtlas.isWhite(p.CellX + y, p.CellY + q.Width - 1 - x),
                      fresh.MaskAtlas.isWhite(q.CellX + x, q.CellY + y));
        }
    }
}

TEST_F(BuildPuzzleTest, RescaleRefusesUnusableScales) {
    EXPECT_FALSE(jig.Rescale(50)); // nothing built yet
    jig.BuildPuzzle(test::gradientPicture(240, 180));
    const Shapes first = shapes();
    EXPECT_FALSE(jig.Rescale(0));
    EXPECT_FALSE(jig.Rescale(10)); // cells of 6 pixels
    EXPECT_EQ(jig.State.ScalePercent, 100);
    EXPECT_EQ(shapes(), first);
}

TEST_F(BuildPuzzleTest, RescaleTooLargeThrowsBeforeChangingAnything) {
    jig.State.RequestedPieces = 333;
    jig.State.Oddness = 0;
    jig.BuildPuzzle(test::gradientPicture(60, 20000));
    const Shapes first = shapes();
    EXPECT_THROW(jig.Rescale(300), AtlasTooLargeError);
    EXPECT_EQ(jig.State.ScalePercent, 100);
    EXPECT_EQ(jig.State.ScaledHeight, 20000);
    EXPECT_EQ(jig.Picture.height(), 20000);
    EXPECT_EQ(shapes(), first);
    EXPECT_EQ(host.cursor(), CursorShape::Default);
}

} // namespace
} // namespace zg

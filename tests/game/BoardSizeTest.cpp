// The puzzle's side of the window: game state, board size and painting.

#include "game/TJigsaw.h"
#include "pieces/EdgeShapes.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zg {
namespace {

/// A recording host that also counts what the window hears of the board.
class BoardHost : public test::FakeHost {
public:
    void puzzleStarted() override { ++starts; }
    TrayBarMetrics trayBarMetrics() const override {
        TrayBarMetrics bar;
        bar.BarWidth = 400;
        bar.BarHeight = 30;
        bar.TemplateButton = Rect::fromSize(26, 3, 24, 24);
        bar.LeftButton = Rect::fromSize(4, 7, 16, 16);
        bar.RightButton = Rect::fromSize(4, 7, 16, 16);
        return bar;
    }
    void applyTrayBar(const TrayBarLayout& layout) override { layouts.push_back(layout); }

    int starts = 0;
    std::vector<TrayBarLayout> layouts;
};

Bitmap24 makePicture(int32_t w, int32_t h) {
    Bitmap24 b(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            b.setPixel(x, y, rgb(uint8_t(x * 2), uint8_t(y * 2), uint8_t(200)));
        }
    }
    return b;
}

class BoardSizeTest : public ::testing::Test {
protected:
    BoardHost host;
    TJigsaw jig{host};

    void buildAndPlay(int32_t width, int32_t height) {
        jig.State.Version = 5;
        jig.State.RequestedPieces = 12;
        jig.State.Seed = 4242;
        jig.State.Style = kStyleClassic;
        jig.State.Oddness = 2;
        jig.Config.BoardWidth = width;
        jig.Config.BoardHeight = height;
        jig.BuildPuzzle(makePicture(160, 120));
        jig.NewLayout();
        jig.SetGameState(TJigsaw::kPlaying);
        jig.SetBoardSize(width, height);
    }
};

TEST_F(BoardSizeTest, WithoutAPuzzleOnlyTheBackBufferIsSizedAndFilled) {
    jig.BoardColor = rgb(10, 20, 30);
    jig.SetBoardSize(50, 40);
    ASSERT_EQ(jig.BackBuffer.width(), 50);
    ASSERT_EQ(jig.BackBuffer.height(), 40);
    EXPECT_EQ(jig.BackBuffer.pixel(0, 0), rgb(10, 20, 30));
    EXPECT_EQ(jig.BackBuffer.pixel(49, 39), rgb(10, 20, 30));
    EXPECT_EQ(jig.Config.BoardWidth, 50);
    EXPECT_TRUE(host.cursors.empty());
    EXPECT_TRUE(host.layouts.empty());
}

TEST_F(BoardSizeTest, NegativeSizesCountAsEmpty) {
    jig.SetBoardSize(-5, 30);
    EXPECT_EQ(jig.BackBuffer.width(), 0);
    EXPECT_EQ(jig.BackBuffer.height(), 30);
}

TEST_F(BoardSizeTest, EnteringPlayTellsTheHostAndSelectsTheSnapLevel) {
    jig.Config.SnapDivisor = 10;
    jig.SetGameState(TJigsaw::kNoPuzzle);
    EXPECT_EQ(host.starts, 0);
    jig.SetGameState(TJigsaw::kPlaying);
    EXPECT_TRUE(jig.IsPlaying());
    EXPECT_EQ(jig.Config.SnapDivisor, 4);
    EXPECT_EQ(host.starts, 1);
}

TEST_F(BoardSizeTest, WhilePlayingTheWholeBoardIsDrawnAndTheTrayBarLaidOut) {
    buildAndPlay(400, 300);
    EXPECT_EQ(jig.BackBuffer.width(), 400);
    EXPECT_EQ(jig.mainArea().Width, 400);
    EXPECT_EQ(jig.mainArea().Height, 300);
    ASSERT_FALSE(host.layouts.empty());
    EXPECT_TRUE(host.layouts.back().Relayout);
    EXPECT_EQ(host.cursor(), CursorShape::Default);
    // The back buffer is exactly what a fresh whole-board draw gives.
    Bitmap24 copy = jig.BackBuffer;
    jig.DrawBoard(jig.Mural);
    EXPECT_TRUE(copy == jig.BackBuffer);
    // Somewhere a piece covers the background.
    int differing = 0;
    for (int32_t y = 0; y < 300; y += 3) {
        for (int32_t x = 0; x < 400; x += 3) {
            differing += jig.BackBuffer.pixel(x, y) != jig.Mural.Wall().pixel(x, y);
        }
    }
    EXPECT_GT(differing, 100);
}

TEST_F(BoardSizeTest, ABiggerBoardSpreadsTheScatteredPiecesOverIt) {
    buildAndPlay(400, 300);
    std::vector<Point> before;
    for (const TFormPiece* p : jig.Pieces) {
        before.push_back({p->Left, p->Top});
    }
    jig.SetBoardSize(800, 600);
    for (std::size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(jig.Pieces[i]->Left, before[i].X * 2, 1);
        EXPECT_NEAR(jig.Pieces[i]->Top, before[i].Y * 2, 1);
    }
    jig.SetBoardSize(400, 300);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(jig.Pieces[i]->Left, before[i].X);
        EXPECT_EQ(jig.Pieces[i]->Top, before[i].Y);
    }
}

TEST_F(BoardSizeTest, PaintBoardAppliesANewOutlineOnlyWhilePlaying) {
    jig.Config.OutlineStyle = 2;
    jig.PaintBoard(1);
    EXPECT_EQ(jig.Config.OutlineStyle, 2);

    buildAndPlay(400, 300);
    const std::size_t layouts = host.layouts.size();
    jig.PaintBoard(2);
    EXPECT_EQ(host.layouts.size(), layouts);
    jig.PaintBoard(0);
    EXPECT_EQ(jig.Config.OutlineStyle, 0);
    Bitmap24 copy = jig.BackBuffer;
    jig.DrawBoard(jig.Mural);
    EXPECT_TRUE(copy == jig.BackBuffer);
}

} // namespace
} // namespace zg

#include "game/ArrangeLayout.h"
#include "game/TJigsaw.h"
#include "pieces/EdgeShapes.h"
#include "support/FakeHost.h"

#include "InputTestPuzzle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace zg {
namespace {

// Worked by hand: 600 x 400 pixels, pieces 56 wide, picture 300 x 200, 30
// pieces. Cells 70 down to 67 give 8 x 5 cells with bands of 2 (22 cells),
// 66 to 61 give 9 x 6 (26 cells); 60 gives 10 x 6 with tx (600 - 60 - 300) / 60
// = 4 and ty (400 - 60 - 200) / 60 = 2, so 2 x 10 + 4 x 4 = 36 cells.
TEST(EdgeLayout, WorkedExampleChoosesSixtyPixelCells) {
    const EdgeLayout l = chooseEdgeLayout(600, 400, 56, 300, 200, 30);
    EXPECT_EQ(l.CellSize, 60);
    EXPECT_EQ(l.Cols, 10);
    EXPECT_EQ(l.Rows, 6);
    EXPECT_EQ(l.BandX, 4);
    EXPECT_EQ(l.BandY, 2);
    EXPECT_EQ(l.CellWidth, 60);
    EXPECT_EQ(l.CellHeight, 66);
}

TEST(EdgeLayout, RingsRunClockwiseFromTheTopLeftOutsideFirst) {
    const EdgeLayout l = chooseEdgeLayout(600, 400, 56, 300, 200, 36);
    const std::vector<Point> cells = edgeCells(l, 36);
    std::vector<Point> expected;
    for (int32_t x = 0; x <= 9; ++x) { // right along the top row
        expected.push_back({x, 0});
    }
    for (int32_t y = 1; y <= 5; ++y) { // down the right column
        expected.push_back({9, y});
    }
    for (int32_t x = 8; x >= 0; --x) { // left along the bottom row
        expected.push_back({x, 5});
    }
    for (int32_t y = 4; y >= 1; --y) { // up the left column
        expected.push_back({0, y});
    }
    // The second ring: the top and bottom bands are used up, so only its
    // right and left columns take pieces.
    for (int32_t y = 1; y <= 4; ++y) {
        expected.push_back({8, y});
    }
    for (int32_t y = 4; y >= 1; --y) {
        expected.push_back({1, y});
    }
    ASSERT_EQ(cells.size(), expected.size());
    for (std::size_t k = 0; k < cells.size(); ++k) {
        EXPECT_EQ(cells[k], (Point{expected[k].X * 60, expected[k].Y * 66})) << "cell " << k;
    }
}

/// A real puzzle of 12 pieces cut from a gradient, scattered and playing.
class ArrangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        jig.State.Version = 5;
        jig.State.RequestedPieces = 12;
        jig.State.Seed = 4242;
        jig.State.Style = kStyleClassic;
        jig.State.Oddness = 5;
        jig.Config.BoardWidth = 800;
        jig.Config.BoardHeight = 600;
        Bitmap24 picture(240, 180);
        for (int32_t y = 0; y < 180; ++y) {
            for (int32_t x = 0; x < 240; ++x) {
                picture.setPixel(x, y, rgb(uint8_t(x), uint8_t(y), 90));
            }
        }
        jig.BuildPuzzle(std::move(picture));
        jig.NewLayout();
        jig.SetGameState(TJigsaw::kPlaying);
        jig.SetBoardSize(800, 600);
    }

    std::map<int32_t, Point> places() const {
        std::map<int32_t, Point> out;
        for (const TFormPiece* p : jig.Pieces) {
            out[p->Index] = {p->Left, p->Top};
        }
        return out;
    }

    test::FakeHost host;
    TJigsaw jig{host};
};

TEST_F(ArrangeTest, ShapeSortPutsTheFourCornersFirstAlongTheTopRow) {
    const int32_t cols = jig.State.Cols;
    const int32_t count = jig.pieceCount();
    jig.ArrangeAtEdge(jig.mainArea(), true, false);
    std::vector<const TFormPiece*> top;
    for (const TFormPiece* p : jig.Pieces) {
        if (p->Top == 0) {
            top.push_back(p);
        }
    }
    ASSERT_GE(top.size(), 4u);
    std::sort(top.begin(), top.end(),
              [](const TFormPiece* a, const TFormPiece* b) { return a->Left < b->Left; });
    const std::set<int32_t> firstFour{top[0]->Index, top[1]->Index, top[2]->Index, top[3]->Index};
    EXPECT_EQ(firstFour, (std::set<int32_t>{0, cols - 1, count - cols, count - 1}));
    // The middle of the board is left free for the picture.
    const Rect middle = Rect::fromSize(300, 250, 200, 100);
    for (const TFormPiece* p : jig.Pieces) {
        EXPECT_FALSE(p->boardRect().intersects(middle)) << "piece " << p->Index;
    }
}

TEST_F(ArrangeTest, RandomOrderIsTheSameTwiceInARow) {
    jig.ArrangeAtEdge(jig.mainArea(), false, false);
    const auto first = places();
    jig.ArrangeAtEdge(jig.mainArea(), false, false);
    EXPECT_EQ(places(), first);
    jig.ArrangeInGrid(jig.mainArea(), false, false);
    const auto grid = places();
    EXPECT_NE(grid, first);
    jig.ArrangeInGrid(jig.mainArea(), false, false);
    EXPECT_EQ(places(), grid);
}

TEST_F(ArrangeTest, PlacedPiecesStayForEdgeAndGridAndMoveForDisarrange) {
    TFormPiece& placed = *jig.Pieces[5];
    placed.Placed = true;
    placed.Left = 377;
    placed.Top = 281;
    jig.ArrangeAtEdge(jig.mainArea(), true, true);
    EXPECT_EQ((Point{placed.Left, placed.Top}), (Point{377, 281}));
    jig.ArrangeInGrid(jig.mainArea(), true, true);
    EXPECT_EQ((Point{placed.Left, placed.Top}), (Point{377, 281}));
    // The grid starts at the top-left and packs the others in square cells.
    EXPECT_EQ(std::count_if(jig.Pieces.begin(), jig.Pieces.end(),
                            [](const TFormPiece* p) { return p->Left == 0 && p->Top == 0; }),
              1);
    jig.Disarrange(jig.mainArea());
    EXPECT_NE((Point{placed.Left, placed.Top}), (Point{377, 281}));
    EXPECT_FALSE(placed.Placed);
}

TEST_F(ArrangeTest, ArrangedPlacesSurviveABoardResize) {
    jig.ArrangeAtEdge(jig.mainArea(), true, true);
    const auto arranged = places();
    jig.SetBoardSize(801, 600);
    jig.SetBoardSize(800, 600);
    EXPECT_EQ(places(), arranged);
}

TEST_F(ArrangeTest, DisarrangeWithTurnsMovesNothingAndRightWayUpTurnsEachGroupOnceAsAWhole) {
    std::map<int32_t, Point> upright;
    for (const TFormPiece* p : jig.Pieces) {
        upright[p->Index] = {p->Width, p->Height};
    }
    jig.Config.RotationOn = true;
    const auto before = places();
    jig.Disarrange(jig.mainArea(), true);
    EXPECT_EQ(places(), before);
    EXPECT_TRUE(std::any_of(jig.Pieces.begin(), jig.Pieces.end(),
                            [](const TFormPiece* p) { return p->Rotation != 0; }));

    // Pieces 0 and 1 turned alike and joined.
    TFormPiece& a = *jig.Pieces[0];
    TFormPiece& b = *jig.Pieces[1];
    if (a.Rotation == 0) {
        jig.RotateGroup(a, 1, false);
    }
    jig.RotateGroup(b, (a.Rotation - b.Rotation + 4) % 4, false);
    Rect dirty;
    jig.JoinPieces(a, b, dirty);
    const Point aAt{a.Left, a.Top};

    jig.RightWayUpAll();
    EXPECT_EQ(jig.State.CheatCount, 1);
    for (const TFormPiece* p : jig.Pieces) {
        EXPECT_EQ(p->Rotation, 0) << "piece " << p->Index;
        EXPECT_EQ((Point{p->Width, p->Height}), upright[p->Index]) << "piece " << p->Index;
    }
    // The group turned about its first piece and lies flush as in the picture.
    EXPECT_EQ((Point{a.Left, a.Top}), aAt);
    EXPECT_EQ(b.Left - a.Left, b.HomeX - a.HomeX);
    EXPECT_EQ(b.Top - a.Top, b.HomeY - a.HomeY);
}

TEST(ArrangeEdge, AnAreaNarrowerThanACellStillPlacesEveryPieceVisibly) {
    // Four 60 x 40 pieces on a board 20 pixels wide: the large cells give no
    // column at all.
    test::InputTestPuzzle t(2, 2);
    t.jig.mainArea().SetSize(20, 400);
    t.jig.ArrangeAtEdge(t.jig.mainArea(), true, true);
    const Rect area = t.jig.mainArea().ClientRect();
    for (const TFormPiece* p : t.jig.Pieces) {
        const Rect inside = intersection(p->boardRect(), area);
        EXPECT_FALSE(inside.isEmpty()) << "piece " << p->Index;
        EXPECT_GE(inside.height(), 20) << "piece " << p->Index;
    }
}

} // namespace
} // namespace zg

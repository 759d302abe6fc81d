#include "game/TJigsaw.h"
#include "gfx/KeepVisible.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

TEST(RandomGenerator, FollowsTheLinearCongruentialSequence) {
    RandomGenerator g;
    g.RandSeed = 1;
    // state 1 -> 134775814 -> ...; Random(n) is the high word of state * n.
    EXPECT_EQ(g.Random(100), uint32_t((uint64_t(134775814u) * 100) >> 32));
    EXPECT_EQ(g.RandSeed, 134775814u);
    const uint32_t next = 134775814u * 134775813u + 1u;
    EXPECT_EQ(g.Random(1000), uint32_t((uint64_t(next) * 1000) >> 32));
    EXPECT_EQ(g.RandSeed, next);
}

TEST(RandomGenerator, RangeZeroReturnsZeroButStillAdvances) {
    RandomGenerator g;
    g.RandSeed = 42;
    EXPECT_EQ(g.Random(0), 0u);
    EXPECT_EQ(g.RandSeed, 42u * 134775813u + 1u);
    EXPECT_EQ(g.randomRange(-5), 0);
    EXPECT_EQ(g.RandSeed, (42u * 134775813u + 1u) * 134775813u + 1u);
}

TEST(RandomGenerator, WrapsModulo2To32) {
    RandomGenerator g;
    g.RandSeed = 0xFFFFFFFFu;
    g.Random(1);
    EXPECT_EQ(g.RandSeed, uint32_t(0xFFFFFFFFu * 134775813u + 1u));
}

TEST(KeepVisible, RectangleInsideStays) {
    Rect r = Rect::fromSize(100, 100, 40, 40);
    EXPECT_FALSE(keepVisible(r, {0, 0, 640, 480}, 20, 20));
    EXPECT_EQ(r, Rect::fromSize(100, 100, 40, 40));
}

TEST(KeepVisible, PullsBackPastTheRightAndBottomEdges) {
    Rect r = Rect::fromSize(700, 500, 40, 40);
    EXPECT_TRUE(keepVisible(r, {0, 0, 640, 480}, 20, 20));
    EXPECT_LE(r.Left, 640 - 20);
    EXPECT_LE(r.Top, 480 - 20);
}

TEST(KeepVisible, PullsBackPastTheLeftAndTopEdges) {
    Rect r = Rect::fromSize(-100, -60, 40, 40);
    EXPECT_TRUE(keepVisible(r, {0, 0, 640, 480}, 20, 20));
    EXPECT_GE(r.Right, 20);
    EXPECT_GE(r.Bottom, 20);
}

class ScatterTest : public ::testing::Test {
protected:
    void makePuzzle(int pieces, uint16_t pieceW, uint16_t pieceH, int32_t boardW, int32_t boardH) {
        jig.createRecords(pieces);
        jig.State.PieceWidth = pieceW;
        jig.State.PieceHeight = pieceH;
        for (TFormPiece* p : jig.Pieces) {
            p->Width = pieceH;
            p->Height = pieceH;
        }
        jig.Config.BoardWidth = boardW;
        jig.Config.BoardHeight = boardH;
        jig.resetTrays(boardW, boardH);
    }

    test::FakeHost host;
    TJigsaw jig{host};
};

TEST_F(ScatterTest, EveryPieceKeepsHalfACellInsideTheBoard) {
    makePuzzle(48, 88, 81, 603, 400);
    jig.Rng.RandSeed = 12345;
    jig.NewLayout();
    const Rect area = jig.mainArea().ClientRect();
    for (const TFormPiece* p : jig.Pieces) {
        const Rect inside = intersection(p->boardRect(), area);
        EXPECT_GE(inside.width(), 88 / 2) << "piece " << p->Index;
        EXPECT_GE(inside.height(), 81 / 2) << "piece " << p->Index;
    }
}

TEST_F(ScatterTest, AreaSmallerThanAPieceStillKeepsPiecesVisible) {
    makePuzzle(6, 96, 90, 60, 50);
    jig.Rng.RandSeed = 7;
    jig.NewLayout();
    const Rect area = jig.mainArea().ClientRect();
    for (const TFormPiece* p : jig.Pieces) {
        EXPECT_TRUE(p->boardRect().intersects(area)) << "piece " << p->Index;
    }
}

TEST_F(ScatterTest, SameSeedGivesTheSameLayout) {
    makePuzzle(20, 56, 50, 603, 400);
    jig.Rng.RandSeed = 99;
    jig.NewLayout();
    std::vector<Rect> first;
    for (const TFormPiece* p : jig.Pieces) {
        first.push_back(p->boardRect());
    }
    jig.Rng.RandSeed = 99;
    jig.NewLayout();
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(jig.Pieces[i]->boardRect(), first[i]);
    }
}

TEST_F(ScatterTest, DrawsRotationXYAndStackingInThatOrderAndTurnsThePieces) {
    makePuzzle(2, 40, 40, 300, 200);
    jig.ImageAtlas.resize(80, 40);
    jig.MaskAtlas.resize(80, 40);
    jig.Pieces[1]->CellX = 40;
    jig.Config.RotationOn = true;
    jig.Rng.RandSeed = 5;
    jig.NewLayout();
    RandomGenerator expect;
    expect.RandSeed = 5;
    for (const TFormPiece* p : jig.Pieces) {
        const uint32_t turns = expect.Random(4);
        const int32_t x = int32_t(expect.Random(300 - 20 + 1));
        const int32_t y = int32_t(expect.Random(200 - 20 + 1));
        const uint32_t stacking = expect.Random(65535);
        EXPECT_EQ(p->Rotation, turns);
        EXPECT_EQ(p->PendingTurns, 0);
        Rect r = Rect::fromSize(x, y, 40, 40);
        keepVisible(r, {0, 0, 300, 200}, 20, 20);
        EXPECT_EQ(p->Left, r.Left);
        EXPECT_EQ(p->Top, r.Top);
        EXPECT_EQ(p->Stacking, stacking);
    }
}

TEST_F(ScatterTest, EachLoosePieceBecomesItsOwnGroupAndJoinedOnesAreSkipped) {
    makePuzzle(5, 40, 40, 300, 200);
    jig.Pieces[2]->Joined = true;
    jig.Pieces[2]->GroupId = 77;
    jig.Pieces[2]->Left = -500;
    jig.NewLayout();
    EXPECT_EQ(jig.State.NextGroupId, 4);
    EXPECT_EQ(jig.Pieces[0]->GroupId, 0);
    EXPECT_EQ(jig.Pieces[3]->GroupId, 2);
    EXPECT_EQ(jig.Pieces[2]->GroupId, 77);
    EXPECT_EQ(jig.Pieces[2]->Left, -500);
}

} // namespace
} // namespace zg

#include "game/TJigsaw.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

// Pieces are plain 50 x 40 cells (upright), so the snap tolerance is 40 / 4 = 10.
constexpr int32_t kW = 50;
constexpr int32_t kH = 40;

class JoinTest : public ::testing::Test {
protected:
    /// A cols x rows puzzle, every piece its own loose group, far apart on the board.
    void makeGrid(int cols, int rows) {
        jig.State.Cols = uint16_t(cols);
        jig.State.Rows = uint16_t(rows);
        jig.State.PieceCount = uint16_t(cols * rows);
        jig.State.PieceWidth = kW;
        jig.State.PieceHeight = kH;
        jig.createRecords(cols * rows);
        for (TFormPiece* p : jig.Pieces) {
            p->HomeX = p->Index % cols * kW;
            p->HomeY = p->Index / cols * kH;
            p->Width = kW;
            p->Height = kH;
            p->GroupId = 100 + p->Index;
            place(p->Index, 2000 + 300 * p->Index, 2000);
        }
        jig.resetTrays(4000, 4000);
    }
    TFormPiece& at(int i) { return *jig.Pieces[std::size_t(i)]; }
    void place(int i, int32_t x, int32_t y) {
        at(i).Left = x;
        at(i).Top = y;
    }
    /// Makes the listed pieces one joined group with the given number.
    void group(std::initializer_list<int> members, int32_t id) {
        for (int i : members) {
            at(i).GroupId = id;
            at(i).Joined = true;
        }
        jig.State.SolvedCount = uint16_t(jig.State.SolvedCount + members.size());
    }
    Rect drop(std::initializer_list<int> members) {
        PieceList list;
        Rect dirty;
        for (int i : members) {
            list.push_back(&at(i));
            dirty = boundingBox(dirty, at(i).boardRect());
        }
        jig.SnapDropped(list, dirty);
        return dirty;
    }
    void turn(int i, uint8_t rotation) {
        at(i).Rotation = rotation;
        if (rotation % 2 == 1) {
            std::swap(at(i).Width, at(i).Height);
        }
    }
    Point pos(int i) { return {at(i).Left, at(i).Top}; }

    test::FakeHost host;
    TJigsaw jig{host};
};

// Where a right neighbour and a down neighbour end up against a piece turned
// r quarter turns clockwise: turning carries "right" to below, left, above.
struct FitCase {
    uint8_t rotation;
    Point rightOffset;
    Point downOffset;
};

class JoinFitTest : public JoinTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(JoinFitTest, LooseNeighbourMovesFlushForEveryRotation) {
    const FitCase c = GetParam();
    makeGrid(2, 2);
    for (int i = 0; i < 4; ++i) {
        turn(i, i == 0 ? uint8_t(c.rotation & 3) : c.rotation);
    }
    place(0, 500, 500);
    // The right neighbour is dropped 3 px off; piece 0 is loose, so it moves flush.
    place(1, 500 + c.rightOffset.X + 3, 500 + c.rightOffset.Y - 3);
    drop({1});
    EXPECT_EQ(at(1).Left - at(0).Left, c.rightOffset.X);
    EXPECT_EQ(at(1).Top - at(0).Top, c.rightOffset.Y);
    // The down neighbour against the pair.
    place(2, at(0).Left + c.downOffset.X - 2, at(0).Top + c.downOffset.Y + 2);
    drop({2});
    EXPECT_EQ(pos(2), (Point{at(0).Left + c.downOffset.X, at(0).Top + c.downOffset.Y}));
    EXPECT_EQ(jig.State.SolvedCount, 3);
}

INSTANTIATE_TEST_SUITE_P(Rotations, JoinFitTest,
                         ::testing::Values(FitCase{0, {kW, 0}, {0, kH}}, FitCase{1, {0, kW}, {-kH, 0}},
                                           FitCase{2, {-kW, 0}, {0, -kH}}, FitCase{3, {0, -kW}, {kH, 0}},
                                           // Only the quarter turns modulo 4 count.
                                           FitCase{5, {0, kW}, {-kH, 0}}));

TEST_F(JoinTest, DroppedThreePixelsLeftJoinsAndTheLooseNeighbourMoves) {
    makeGrid(2, 1);
    place(0, 300, 300);
    place(1, 347, 300); // fits at (350, 300)
    drop({1});
    EXPECT_EQ(pos(1), (Point{347, 300})); // the dropped piece stays
    EXPECT_EQ(pos(0), (Point{297, 300}));
    EXPECT_EQ(at(0).GroupId, at(1).GroupId);
    EXPECT_EQ(host.sounds, std::vector<int>{1});
}

TEST_F(JoinTest, ToleranceIncludesMinusTAndExcludesPlusT) {
    makeGrid(2, 1);
    place(0, 300, 300);
    place(1, 350 + 10, 300);
    drop({1});
    EXPECT_FALSE(at(1).Joined);
    place(1, 350, 300 + 10);
    drop({1});
    EXPECT_FALSE(at(1).Joined);
    place(1, 350 - 10, 300 - 10);
    drop({1});
    EXPECT_TRUE(at(1).Joined);
}

TEST_F(JoinTest, ToleranceIsPieceHeightDividedBySnapDivisor) {
    makeGrid(2, 1);
    jig.State.PieceHeight = 38; // 38 / 4 = 9, truncated
    place(0, 300, 300);
    place(1, 350 - 10, 300);
    drop({1});
    EXPECT_FALSE(at(1).Joined);
    jig.Config.SnapDivisor = 2; // 19
    place(1, 350 + 18, 300);
    drop({1});
    EXPECT_TRUE(at(1).Joined);
}

TEST_F(JoinTest, UnusableSnapDivisorFallsBackToFour) {
    makeGrid(2, 1);
    jig.Config.SnapDivisor = 0;
    place(0, 300, 300);
    place(1, 350 + 10, 300);
    drop({1});
    EXPECT_FALSE(at(1).Joined);
    place(1, 350 - 10, 300);
    drop({1});
    EXPECT_TRUE(at(1).Joined);
}

TEST_F(JoinTest, DroppedBetweenTwoLooseNeighboursJoinsBoth) {
    makeGrid(3, 1);
    place(0, 300, 300);
    place(2, 402, 301);
    place(1, 351, 300);
    drop({1});
    EXPECT_EQ(pos(1), (Point{351, 300}));
    EXPECT_EQ(pos(0), (Point{301, 300}));
    EXPECT_EQ(pos(2), (Point{401, 300}));
    EXPECT_EQ(jig.GroupSize(at(1)), 3);
    EXPECT_EQ(jig.State.SolvedCount, 3);
    EXPECT_EQ(host.sounds, (std::vector<int>{1, 1}));
}

TEST_F(JoinTest, DuringAutoSolveOnlyTheFirstFittingSlotJoins) {
    makeGrid(3, 1);
    jig.AutoSolving = true;
    place(0, 300, 300);
    place(2, 402, 301);
    place(1, 351, 300);
    drop({1});
    // Slot 1 (right) comes before slot 3 (left).
    EXPECT_EQ(at(1).GroupId, at(2).GroupId);
    EXPECT_FALSE(at(0).Joined);
    EXPECT_EQ(jig.State.SolvedCount, 2);
}

TEST_F(JoinTest, NextToALoosePieceAndAGroupTheWholeNewGroupMovesOntoTheGroup) {
    makeGrid(4, 1);
    group({2, 3}, 7);
    place(2, 404, 298);
    place(3, 454, 298);
    place(0, 300, 300);
    place(1, 352, 300);
    drop({1});
    EXPECT_EQ(pos(2), (Point{404, 298}));
    EXPECT_EQ(pos(1), (Point{354, 298}));
    EXPECT_EQ(pos(0), (Point{304, 298}));
    EXPECT_EQ(jig.GroupSize(at(2)), 4);
    EXPECT_EQ(jig.State.SolvedCount, 4);
}

// Centre piece 4 of a 3 x 3 grid is dropped between the group above it and the
// group on its right. The group joined first is carried along onto the group
// joined second, so only the second one keeps its place.
TEST_F(JoinTest, SmallerGroupJoinsFirstSoTheLargerStaysPut) {
    makeGrid(3, 3);
    group({0, 1, 2}, 50);
    place(0, 100, 100);
    place(1, 150, 100);
    place(2, 200, 100);
    group({5, 8}, 60);
    place(5, 204, 143);
    place(8, 204, 183);
    place(4, 152, 141);
    drop({4});
    EXPECT_EQ(pos(1), (Point{150, 100}));
    EXPECT_EQ(pos(4), (Point{150, 140}));
    EXPECT_EQ(pos(5), (Point{200, 140}));
    EXPECT_EQ(pos(8), (Point{200, 180}));
    EXPECT_EQ(jig.GroupSize(at(4)), 6);
}

TEST_F(JoinTest, EqualGroupsJoinTheEarlierSlotFirst) {
    makeGrid(3, 3);
    group({0, 1}, 50);
    place(0, 100, 100);
    place(1, 150, 100);
    group({5, 8}, 60);
    place(5, 204, 143);
    place(8, 204, 183);
    place(4, 152, 141);
    drop({4});
    // Up (slot 0) joins first, then that group moves onto the right group.
    EXPECT_EQ(pos(5), (Point{204, 143}));
    EXPECT_EQ(pos(4), (Point{154, 143}));
    EXPECT_EQ(pos(1), (Point{154, 103}));
}

TEST_F(JoinTest, DifferentTraysOrTurnsNeverJoin) {
    makeGrid(3, 1);
    place(0, 300, 300);
    at(0).TrayIndex = 1;
    place(1, 350, 300);
    drop({1});
    EXPECT_FALSE(at(1).Joined);
    turn(2, 2);
    place(2, 400, 300);
    drop({1});
    EXPECT_FALSE(at(1).Joined);
    EXPECT_TRUE(at(1).Placed);
    EXPECT_TRUE(host.sounds.empty());
}

TEST_F(JoinTest, PiecesOfTheDroppedGroupDoNotJoinEachOther) {
    makeGrid(2, 1);
    group({0, 1}, 9);
    place(0, 300, 300);
    place(1, 352, 300);
    drop({0, 1});
    EXPECT_EQ(pos(1), (Point{352, 300}));
    EXPECT_TRUE(host.sounds.empty());
}

TEST_F(JoinTest, GroupOntoGroupRecountsJoinedPieces) {
    makeGrid(4, 1);
    group({0, 1}, 5);
    group({2, 3}, 6);
    at(2).Joined = false; // a stale flag is repaired by the recount
    jig.State.SolvedCount = 3;
    place(0, 300, 300);
    place(1, 350, 300);
    place(2, 401, 300);
    place(3, 451, 300);
    drop({2, 3});
    EXPECT_EQ(jig.State.SolvedCount, 4);
    EXPECT_EQ(pos(3), (Point{450, 300}));
}

TEST_F(JoinTest, DirtyRectangleCoversOldAndNewPlacesAndTheWoodEdge) {
    makeGrid(2, 1);
    jig.Config.OutlineStyle = 3;
    jig.WoodThickness = 4;
    place(0, 300, 300);
    place(1, 355, 305);
    const Rect dirty = drop({1});
    EXPECT_EQ(dirty, (Rect{300, 300, 355 + kW, 305 + kH + 4}));
}

TEST_F(JoinTest, SoundOffJoinsSilently) {
    makeGrid(2, 1);
    jig.Config.SoundOn = false;
    place(0, 300, 300);
    place(1, 350, 300);
    drop({1});
    EXPECT_TRUE(at(1).Joined);
    EXPECT_TRUE(host.sounds.empty());
}

TEST_F(JoinTest, CompletionIsRecognisedOnTheNextTickNotDuringTheDrop) {
    makeGrid(2, 1);
    jig.State.ElapsedSeconds = 125;
    place(0, 300, 300);
    place(1, 350, 300);
    drop({1});
    EXPECT_EQ(jig.State.SolvedCount, 2);
    EXPECT_TRUE(jig.CompletionCandidate);
    EXPECT_FALSE(jig.State.Solved);
    EXPECT_TRUE(host.congratulations.empty());
    jig.CheckCompletion();
    EXPECT_TRUE(jig.State.Solved);
    EXPECT_FALSE(jig.CompletionCandidate);
    EXPECT_EQ(host.sounds, (std::vector<int>{1, 2}));
    EXPECT_EQ(
        host.congratulations,
        std::vector<std::string>{"You solved all 2 pieces in 2 minutes and 5 seconds without cheating!"});
    EXPECT_EQ(host.zoomPictures, 1);
}

TEST_F(JoinTest, TwoGroupsHoldingEveryPieceAreNotSolved) {
    makeGrid(4, 1);
    place(0, 300, 300);
    place(1, 350, 300);
    drop({1});
    place(2, 800, 300);
    place(3, 850, 300);
    drop({3});
    EXPECT_EQ(jig.State.SolvedCount, 4);
    jig.CheckCompletion();
    EXPECT_FALSE(jig.State.Solved);
    EXPECT_FALSE(jig.CompletionCandidate);
    EXPECT_TRUE(host.congratulations.empty());
    place(2, 400, 300);
    place(3, 450, 300);
    drop({2, 3});
    jig.CheckCompletion();
    EXPECT_TRUE(jig.State.Solved);
    EXPECT_EQ(host.congratulations.size(), 1u);
}

TEST_F(JoinTest, NeighbourSlotsFollowTheGridEdgesAndSettleTheGroup) {
    makeGrid(3, 2);
    auto neighbours = [&](int i) {
        std::array<int, 4> out{};
        const TJigsaw::NeighbourSlots slots = jig.ComputeNeighbourSlots(i);
        for (std::size_t k = 0; k < 4; ++k) {
            out[k] = slots[k].Neighbour ? slots[k].Neighbour->Index : -1;
        }
        return out;
    };
    EXPECT_EQ(neighbours(0), (std::array<int, 4>{-1, 1, 3, -1}));
    EXPECT_EQ(neighbours(4), (std::array<int, 4>{1, 5, -1, 3}));
    EXPECT_EQ(neighbours(5), (std::array<int, 4>{2, -1, -1, 4}));
    EXPECT_EQ(neighbours(6), (std::array<int, 4>{-1, -1, -1, -1}));
    EXPECT_EQ(neighbours(-1), (std::array<int, 4>{-1, -1, -1, -1}));
    group({1, 2, 5}, 3);
    jig.ComputeNeighbourSlots(2);
    EXPECT_TRUE(at(2).Settled);
    at(5).GroupId = 4;
    jig.ComputeNeighbourSlots(2);
    EXPECT_FALSE(at(2).Settled);
    jig.State.Cols = 0; // a damaged grid gives no neighbours instead of dividing by zero
    EXPECT_EQ(neighbours(2), (std::array<int, 4>{-1, -1, -1, -1}));
}

} // namespace
} // namespace zg

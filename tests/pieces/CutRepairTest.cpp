#include "pieces/CutRepair.h"

#include "HandCutMap.h"

#include <gtest/gtest.h>

#include <random>

namespace zg {
namespace {

constexpr uint8_t kLeftPen = cellPen(0, 0);  // 0x15
constexpr uint8_t kRightPen = cellPen(1, 0); // 0x16

void hLine(CutMap& map, int32_t x0, int32_t x1, int32_t y, uint8_t pen) {
    for (int32_t x = x0; x <= x1; ++x) {
        map.at(x, y) = pen;
    }
}

void vLine(CutMap& map, int32_t x, int32_t y0, int32_t y1, uint8_t pen) {
    for (int32_t y = y0; y <= y1; ++y) {
        map.at(x, y) = pen;
    }
}

/// Two cells side by side on a 21 x 9 map: the left cell's lines (its borders
/// and the divider at x = 10) and the right cell's (its borders). Open areas:
/// x 1..9 and x 11..19, rows 1..7.
CutMap twoCells() {
    CutMap map;
    map.reset(21, 9);
    hLine(map, 0, 10, 0, kLeftPen);
    hLine(map, 0, 10, 8, kLeftPen);
    vLine(map, 0, 0, 8, kLeftPen);
    vLine(map, 10, 0, 8, kLeftPen);
    hLine(map, 11, 20, 0, kRightPen);
    hLine(map, 11, 20, 8, kRightPen);
    vLine(map, 20, 0, 8, kRightPen);
    return map;
}

SeedTable seedsAt(Point left, Point right) {
    SeedTable seeds;
    seeds.reset(2, 1);
    seeds.at(0, 0) = left;
    seeds.at(1, 0) = right;
    return seeds;
}

TEST(HoleRepair, EnclosedPixelTakesItsLeftNeighboursPen) {
    CutMap map;
    map.reset(5, 5);
    map.at(1, 2) = 0x11;
    map.at(3, 2) = 0x12;
    map.at(2, 1) = 0x13;
    map.at(2, 3) = 0x14;
    repairHoles(map);
    EXPECT_EQ(map.at(2, 2), 0x11);
}

TEST(HoleRepair, LeavesOpenPixelsAndTheMapEdgeAlone) {
    CutMap map;
    map.reset(6, 5);
    // A two-pixel pocket: each pixel has an open neighbour.
    hLine(map, 1, 4, 1, 0x11);
    hLine(map, 1, 4, 3, 0x11);
    map.at(1, 2) = 0x11;
    map.at(4, 2) = 0x11;
    // An enclosed-looking pixel on the map's edge row.
    map.at(0, 4) = 0x12;
    map.at(2, 4) = 0x12;
    const CutMap before = map;
    repairHoles(map);
    EXPECT_EQ(map.Bytes, before.Bytes);
}

TEST(HoleRepair, RowsSharedAmongThreadsRepairAsOneRasterPass) {
    // Dense random lines make many holes, on every band of rows the map is
    // shared in and on the rows where the bands meet.
    std::mt19937 gen(5);
    for (int round = 0; round < 60; ++round) {
        const int32_t w = 3 + int32_t(gen() % 70);
        const int32_t h = 3 + int32_t(gen() % 200);
        CutMap map;
        test::fillRandomLines(map, w, h, 60 + gen() % 40, gen);
        CutMap expected = map;
        for (int32_t y = 1; y + 1 < h; ++y) {
            for (int32_t x = 1; x + 1 < w; ++x) {
                if (expected.at(x, y) == 0 && expected.at(x - 1, y) != 0 && expected.at(x + 1, y) != 0 &&
                    expected.at(x, y - 1) != 0 && expected.at(x, y + 1) != 0) {
                    expected.at(x, y) = expected.at(x - 1, y);
                }
            }
        }
        for (const int32_t threads : {1, 4}) {
            CutMap repaired = map;
            repairHoles(repaired, threads);
            ASSERT_EQ(repaired.Bytes, expected.Bytes) << "round " << round << ", " << threads << " threads";
        }
    }
}

TEST(ClaimRegions, LeavesASoundCutUntouched) {
    CutMap map = twoCells();
    SeedTable seeds = seedsAt({5, 4}, {15, 4});
    const CutMap before = map;
    claimRegions(map, seeds);
    EXPECT_EQ(map.Bytes, before.Bytes);
    EXPECT_EQ(seeds.at(0, 0), (Point{5, 4}));
    EXPECT_EQ(seeds.at(1, 0), (Point{15, 4}));
}

TEST(ClaimRegions, SeedInANeighboursAreaMovesToItsOwn) {
    CutMap map = twoCells();
    SeedTable seeds = seedsAt({5, 4}, {3, 4});
    claimRegions(map, seeds);
    EXPECT_EQ(seeds.at(0, 0), (Point{5, 4}));
    EXPECT_EQ(seeds.at(1, 0), (Point{11, 4})); // the right area's pixel nearest (3, 4)
}

TEST(ClaimRegions, SharedAreaGoesToTheCellWhoseLinesSurroundIt) {
    // The left cell's seed lies in the right area first; the right cell, whose
    // own lines border that area on three sides, wins it.
    CutMap map = twoCells();
    SeedTable seeds = seedsAt({12, 2}, {15, 4});
    claimRegions(map, seeds);
    EXPECT_EQ(seeds.at(1, 0), (Point{15, 4}));
    EXPECT_EQ(seeds.at(0, 0), (Point{9, 2}));
}

TEST(ClaimRegions, SeedOnALineMovesIntoItsArea) {
    CutMap map = twoCells();
    SeedTable seeds = seedsAt({10, 4}, {15, 4});
    claimRegions(map, seeds);
    EXPECT_EQ(seeds.at(0, 0), (Point{9, 4}));
}

TEST(ClaimRegions, UnclaimedPocketJoinsThePieceThatSurroundsIt) {
    CutMap map = twoCells();
    // A 2 x 2 pocket inside the left area, walled by the right cell's pen
    // (a tab that closed on itself).
    hLine(map, 3, 6, 2, kRightPen);
    hLine(map, 3, 6, 5, kRightPen);
    vLine(map, 3, 2, 5, kRightPen);
    vLine(map, 6, 2, 5, kRightPen);
    SeedTable seeds = seedsAt({1, 1}, {15, 4});
    claimRegions(map, seeds);
    for (int32_t y = 3; y <= 4; ++y) {
        for (int32_t x = 4; x <= 5; ++x) {
            EXPECT_EQ(map.at(x, y), kRightPen);
        }
    }
    EXPECT_EQ(map.at(1, 1), 0);
    EXPECT_EQ(map.at(15, 4), 0);
}

TEST(ClaimRegions, CellWithoutAnyAreaGetsASeedThatFillsNothing) {
    CutMap map = twoCells();
    // Both seeds in the left area; the right area is the only unclaimed one,
    // but the left cell's lines border it too (the divider), so it goes to
    // the right cell; mark the right area as a line so nothing is left.
    for (int32_t y = 1; y <= 7; ++y) {
        hLine(map, 11, 19, y, kLeftPen);
    }
    SeedTable seeds = seedsAt({5, 4}, {6, 4});
    claimRegions(map, seeds);
    EXPECT_EQ(seeds.at(0, 0), (Point{5, 4}));
    const Point stranded = seeds.at(1, 0);
    EXPECT_EQ(map.at(stranded.X, stranded.Y), kRightPen);
    // A fill from it goes nowhere: the pixel to its right is a line or the edge.
    EXPECT_TRUE(stranded.X + 1 == map.Width || map.at(stranded.X + 1, stranded.Y) != 0);
}

TEST(ClaimRegions, IgnoresInconsistentTables) {
    CutMap map = twoCells();
    SeedTable seeds = seedsAt({5, 4}, {3, 4});
    seeds.Points.pop_back();
    const CutMap before = map;
    claimRegions(map, seeds);
    EXPECT_EQ(map.Bytes, before.Bytes);
    CutMap empty;
    claimRegions(empty, seeds);
    EXPECT_TRUE(empty.Bytes.empty());
}

} // namespace
} // namespace zg

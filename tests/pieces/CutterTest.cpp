#include "pieces/Cutter.h"

#include "support/FakeHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace zg {
namespace {

struct Cut {
    CutMap Map;
    SeedTable Seeds;
    CutTrace Trace;
    uint32_t FinalState = 0; ///< the generator's state after the cut
};

Cut cut(int32_t w, int32_t h, int32_t cols, int32_t rows, int32_t style, int32_t oddness, int32_t version = 5,
        uint32_t seed = 12345, Host* host = nullptr) {
    Cut c;
    RandomGenerator rng;
    rng.RandSeed = seed;
    cutPuzzle(c.Map, c.Seeds, {w, h, cols, rows, style, oddness, version}, rng, host, &c.Trace);
    c.FinalState = rng.RandSeed;
    return c;
}

/// FNV-1a over the map bytes, then every seed's coordinates.
uint64_t fingerprint(const Cut& c) {
    uint64_t hash = 14695981039346656037ull;
    const auto add = [&](uint8_t b) {
        hash ^= b;
        hash *= 1099511628211ull;
    };
    for (const uint8_t b : c.Map.Bytes) {
        add(b);
    }
    for (const Point& p : c.Seeds.Points) {
        for (const int32_t v : {p.X, p.Y}) {
            for (int shift = 0; shift < 32; shift += 8) {
                add(uint8_t(uint32_t(v) >> shift));
            }
        }
    }
    return hash;
}

/// The open (zero) pixels 4-connected to `from`, as labelling fills them.
std::vector<bool> regionOf(const CutMap& map, Point from) {
    std::vector<bool> in(map.Bytes.size(), false);
    if (!map.contains(from.X, from.Y) || map.at(from.X, from.Y) != 0) {
        return in;
    }
    std::vector<Point> stack{from};
    in[map.index(from.X, from.Y)] = true;
    while (!stack.empty()) {
        const Point p = stack.back();
        stack.pop_back();
        for (const Point n :
             {Point{p.X - 1, p.Y}, Point{p.X + 1, p.Y}, Point{p.X, p.Y - 1}, Point{p.X, p.Y + 1}}) {
            if (map.contains(n.X, n.Y) && map.at(n.X, n.Y) == 0 && !in[map.index(n.X, n.Y)]) {
                in[map.index(n.X, n.Y)] = true;
                stack.push_back(n);
            }
        }
    }
    return in;
}

uint32_t advance(uint32_t state, int draws) {
    RandomGenerator rng;
    rng.RandSeed = state;
    for (int i = 0; i < draws; ++i) {
        rng.Random(2);
    }
    return rng.RandSeed;
}

// ---- Determinism ----

// 480 x 360 picture, 8 x 6 grid, oddness 5, seed 12345: the fingerprints of
// cuts that were checked by eye (tabs interlock, every piece whole). A change
// here changes every saved game's pieces.
TEST(CutDeterminism, CurrentGeneratorGivesThePinnedCutForEveryStyle) {
    const uint64_t expected[6] = {2122074095824981889ull, 1023046736611232124ull,  9325572073249224645ull,
                                  2687251587978499284ull, 11037475471065764946ull, 6809221094447362731ull};
    for (int32_t style = 1; style <= 6; ++style) {
        EXPECT_EQ(fingerprint(cut(480, 360, 8, 6, style, 5)), expected[style - 1]) << "style " << style;
    }
}

TEST(CutDeterminism, OlderGeneratorGivesThePinnedCutWhateverTheStyle) {
    const uint64_t expected = 10090211993366877661ull;
    for (int32_t style = 1; style <= 6; ++style) {
        EXPECT_EQ(fingerprint(cut(480, 360, 8, 6, style, 5, 3)), expected) << "style " << style;
    }
    EXPECT_EQ(fingerprint(cut(480, 360, 8, 6, 1, 5, 1)), expected);
    EXPECT_EQ(fingerprint(cut(480, 360, 8, 6, 1, 5, 4)), expected);
}

TEST(CutDeterminism, SameSeedGivesTheSameCutAndAnotherSeedAnother) {
    for (const int32_t version : {5, 2}) {
        const Cut a = cut(333, 257, 7, 5, 6, 7, version, 99);
        const Cut b = cut(333, 257, 7, 5, 6, 7, version, 99);
        EXPECT_EQ(a.Map.Bytes, b.Map.Bytes);
        EXPECT_EQ(a.Seeds.Points, b.Seeds.Points);
        EXPECT_NE(cut(333, 257, 7, 5, 6, 7, version, 100).Map.Bytes, a.Map.Bytes);
    }
}

TEST(CutDeterminism, HalfScaleMakesTheSameDecisionsWithTheSameDraws) {
    for (const int32_t version : {5, 3}) {
        for (int32_t style = 1; style <= 6; ++style) {
            for (const int32_t oddness : {1, 4, 10}) {
                const Cut full = cut(480, 360, 8, 6, style, oddness, version, 777);
                const Cut half = cut(240, 180, 8, 6, style, oddness, version, 777);
                ASSERT_EQ(full.Trace.size(), half.Trace.size());
                EXPECT_EQ(full.FinalState, half.FinalState);
                for (std::size_t k = 0; k < full.Trace.size(); ++k) {
                    const CutCellRecord& f = full.Trace[k];
                    const CutCellRecord& h = half.Trace[k];
                    EXPECT_EQ(f.FlipX, h.FlipX);
                    EXPECT_EQ(f.FlipY, h.FlipY);
                    EXPECT_EQ(f.HorizontalStyle, h.HorizontalStyle);
                    EXPECT_EQ(f.VerticalStyle, h.VerticalStyle);
                    // The jitter is drawn from ranges half as wide, so the
                    // corners land at about half the position.
                    EXPECT_LE(std::abs(2 * h.Corner.X - f.Corner.X), 5) << k;
                    EXPECT_LE(std::abs(2 * h.Corner.Y - f.Corner.Y), 5) << k;
                }
            }
        }
    }
}

TEST(CutDeterminism, MixChoosesEveryStyleAtItsRate) {
    std::vector<int> counts(7, 0);
    const Cut c = cut(2000, 2000, 40, 40, kStyleMix, 3);
    for (const CutCellRecord& r : c.Trace) {
        ++counts[std::size_t(r.HorizontalStyle)];
        ++counts[std::size_t(r.VerticalStyle)];
    }
    const int edges = 2 * 40 * 39;
    EXPECT_EQ(counts[0], 2 * 40); // the borders
    EXPECT_EQ(counts[1] + counts[2] + counts[3] + counts[4] + counts[5], edges);
    EXPECT_NEAR(counts[kStyleClassic] / double(edges), 0.80, 0.04);
    EXPECT_NEAR(counts[kStyleRound] / double(edges), 0.06, 0.02);
    EXPECT_NEAR(counts[kStyleStar] / double(edges), 0.04, 0.02);
    EXPECT_NEAR(counts[kStyleSquare] / double(edges), 0.06, 0.02);
    EXPECT_NEAR(counts[kStyleBlip] / double(edges), 0.04, 0.02);
}

// ---- The order and number of draws ----

TEST(CutDraws, CurrentGeneratorDrawsCornersShapesSignsAndMixChoices) {
    // 3 x 2 Mix with jitter: row 1 cells draw y, top x, x, 4 shapes, 2 signs
    // and 2 edge choices (the last cell: no x, one edge); row 2 has no y draw.
    EXPECT_EQ(cut(90, 60, 3, 2, kStyleMix, 5, 5, 42).FinalState, advance(42, 11 + 11 + 8 + 8 + 8 + 6));
    // Oddness 0 still draws the four shape parameters per cell (range 0).
    EXPECT_EQ(cut(90, 60, 3, 2, kStyleClassic, 0, 5, 42).FinalState, advance(42, 4 * 6));
    // Oddness 1 adds the two signs but moves no corner.
    EXPECT_EQ(cut(90, 60, 3, 2, kStyleClassic, 1, 5, 42).FinalState, advance(42, 6 * 6));
}

TEST(CutDraws, OlderGeneratorDrawsOneBoundaryPerRow) {
    // Row 1: boundary, then x, 4 shapes, 2 signs per cell (no x in the last column).
    EXPECT_EQ(cut(90, 60, 3, 2, kStyleMix, 5, 4, 42).FinalState, advance(42, 1 + 7 + 7 + 6 + 7 + 7 + 6));
}

TEST(CutDraws, OddnessOneMovesNoCornerButFlipsKnobs) {
    const Cut still = cut(480, 360, 8, 6, kStyleClassic, 0);
    const Cut one = cut(480, 360, 8, 6, kStyleClassic, 1);
    int flips = 0;
    for (std::size_t k = 0; k < still.Trace.size(); ++k) {
        EXPECT_EQ(one.Trace[k].Corner, still.Trace[k].Corner);
        EXPECT_FALSE(still.Trace[k].FlipX || still.Trace[k].FlipY);
        flips += (one.Trace[k].FlipX ? 1 : 0) + (one.Trace[k].FlipY ? 1 : 0);
    }
    EXPECT_GT(flips, 20);
    EXPECT_LT(flips, 76);
}

// ---- Geometry ----

TEST(CutGeometry, OddnessZeroPutsCornersOnTheGrid) {
    for (const int32_t version : {5, 3}) {
        const int32_t w = 487;
        const int32_t h = 301;
        const Cut c = cut(w, h, 7, 5, kStyleClassic, 0, version);
        ASSERT_EQ(c.Trace.size(), 35u);
        for (int32_t i = 1; i <= 5; ++i) {
            for (int32_t j = 1; j <= 7; ++j) {
                const Point corner = c.Trace[std::size_t((i - 1) * 7 + j - 1)].Corner;
                EXPECT_EQ(corner.X, j == 7 ? w - 1 : w * j / 7);
                EXPECT_EQ(corner.Y, i == 5 ? h - 1 : h * i / 5);
                EXPECT_NE(c.Map.at(corner.X, corner.Y), 0);
            }
        }
    }
}

TEST(CutGeometry, OddnessZeroClassicPiecesAreAllAlikeWithKnobsLeftAndBelow) {
    const Cut c = cut(480, 360, 8, 6, kStyleClassic, 0);
    const auto block = [&](int32_t x0, int32_t y0) {
        std::vector<bool> bits;
        for (int32_t y = y0 - 20; y < y0 + 80; ++y) {
            for (int32_t x = x0 - 20; x < x0 + 80; ++x) {
                bits.push_back(c.Map.at(x, y) != 0);
            }
        }
        return bits;
    };
    const std::vector<bool> first = block(60, 60);
    for (int32_t row = 1; row <= 4; ++row) {
        for (int32_t col = 1; col <= 6; ++col) {
            EXPECT_EQ(block(60 * col, 60 * row), first) << col << "," << row;
            const std::vector<bool> region = regionOf(c.Map, c.Seeds.at(col, row));
            const auto inside = [&](int32_t x, int32_t y) { return bool(region[c.Map.index(x, y)]); };
            const int32_t left = 60 * col;
            const int32_t top = 60 * row;
            EXPECT_TRUE(inside(left - 8, top + 30));       // knob into the left neighbour
            EXPECT_TRUE(inside(left + 30, top + 60 + 8));  // knob into the cell below
            EXPECT_FALSE(inside(left + 60 - 8, top + 30)); // hollow on the right
            EXPECT_FALSE(inside(left + 30, top + 8));      // hollow at the top
        }
    }
}

TEST(CutGeometry, EveryOpenPixelBelongsToExactlyOneSeed) {
    // Oddness 10 makes curves of different edges cross; the seeds must still
    // each find an area of their own, and no open pixel may be left over.
    for (const int32_t version : {5, 3}) {
        for (int32_t style = 1; style <= 6; ++style) {
            for (const uint32_t seed : {2654435761u, 4072443489u}) {
                const Cut c = cut(591, 383, 8, 6, style, 10, version, seed);
                std::vector<int> owner(c.Map.Bytes.size(), -1);
                for (std::size_t k = 0; k < c.Seeds.Points.size(); ++k) {
                    const Point s = c.Seeds.Points[k];
                    ASSERT_EQ(c.Map.at(s.X, s.Y), 0) << "seed on a line, style " << style;
                    ASSERT_EQ(owner[c.Map.index(s.X, s.Y)], -1) << "shared area, style " << style;
                    std::vector<Point> stack{s};
                    owner[c.Map.index(s.X, s.Y)] = int(k);
                    while (!stack.empty()) {
                        const Point p = stack.back();
                        stack.pop_back();
                        for (const Point n : {Point{p.X - 1, p.Y}, Point{p.X + 1, p.Y}, Point{p.X, p.Y - 1},
                                              Point{p.X, p.Y + 1}}) {
                            if (c.Map.contains(n.X, n.Y) && c.Map.at(n.X, n.Y) == 0 &&
                                owner[c.Map.index(n.X, n.Y)] < 0) {
                                owner[c.Map.index(n.X, n.Y)] = int(k);
                                stack.push_back(n);
                            }
                        }
                    }
                }
                for (std::size_t i = 0; i < owner.size(); ++i) {
                    ASSERT_TRUE(c.Map.Bytes[i] != 0 || owner[i] >= 0) << "orphan pixel, style " << style;
                }
            }
        }
    }
}

TEST(CutGeometry, LinesCarryTheirCellsPens) {
    const Cut c = cut(480, 360, 8, 6, kStyleSquare, 0);
    // Square edges are straight: the middle of cell (col, row)'s right edge is
    // its own line, and so is the middle of its lower edge.
    for (int32_t row = 0; row < 5; ++row) {
        for (int32_t col = 0; col < 7; ++col) {
            EXPECT_EQ(c.Map.at(60 * (col + 1), 60 * row + 30), cellPen(col, row));
            EXPECT_EQ(c.Map.at(60 * col + 30, 60 * (row + 1)), cellPen(col, row));
        }
    }
    EXPECT_EQ(c.Map.at(479, 200), cellPen(7, 3)); // right border
    EXPECT_EQ(c.Map.at(100, 0), cellPen(1, 0));   // top border
}

TEST(CutGeometry, SquareOddnessTwoJittersCorners) {
    const Cut c = cut(480, 360, 8, 6, kStyleSquare, 2);
    int moved = 0;
    for (std::size_t k = 0; k < c.Trace.size(); ++k) {
        const int32_t col = int32_t(k % 8) + 1;
        moved += (col < 8 && c.Trace[k].Corner.X != 60 * col) ? 1 : 0;
    }
    EXPECT_GT(moved, 20);
}

TEST(CutGeometry, SingleRowDrawsTheTopBorderButNotTheBottom) {
    const Cut c = cut(200, 50, 4, 1, kStyleClassic, 3);
    int top = 0;
    int bottom = 0;
    for (int32_t x = 0; x < 200; ++x) {
        top += c.Map.at(x, 0) != 0 ? 1 : 0;
        bottom += c.Map.at(x, 49) != 0 ? 1 : 0;
    }
    EXPECT_EQ(top, 200);
    EXPECT_LT(bottom, 20);
    EXPECT_EQ(regionOf(c.Map, c.Seeds.at(0, 0))[c.Map.index(20, 49)], true); // fills to the edge
}

TEST(CutGeometry, SingleColumnDrawsOnlyTheLeftBorder) {
    const Cut c = cut(50, 200, 1, 4, kStyleClassic, 3);
    int left = 0;
    int right = 0;
    for (int32_t y = 0; y < 200; ++y) {
        left += c.Map.at(0, y) != 0 ? 1 : 0;
        right += c.Map.at(49, y) != 0 ? 1 : 0;
    }
    EXPECT_EQ(left, 200);
    EXPECT_LT(right, 20);
}

TEST(CutGeometry, HugeGridsDoNotWrap) {
    // 65535 * j overflows 32 bits from j = 32768 on.
    const Cut c = cut(65535, 6, 40000, 1, kStyleSquare, 0);
    ASSERT_EQ(c.Trace.size(), 40000u);
    int32_t previous = -1;
    for (const CutCellRecord& r : c.Trace) {
        EXPECT_GE(r.Corner.X, previous);
        EXPECT_LT(r.Corner.X, 65535);
        previous = r.Corner.X;
    }
    EXPECT_EQ(c.Trace[32768].Corner.X, int32_t(65535ll * 32769 / 40000));
}

// ---- Untrusted parameters ----

TEST(CutParameters, StyleAndOddnessAreClamped) {
    EXPECT_EQ(cut(200, 150, 4, 3, 0, 4).Map.Bytes, cut(200, 150, 4, 3, 1, 4).Map.Bytes);
    EXPECT_EQ(cut(200, 150, 4, 3, -7, 4).Map.Bytes, cut(200, 150, 4, 3, 1, 4).Map.Bytes);
    EXPECT_EQ(cut(200, 150, 4, 3, 99, 4).Map.Bytes, cut(200, 150, 4, 3, 6, 4).Map.Bytes);
    EXPECT_EQ(cut(200, 150, 4, 3, 2, 50).Map.Bytes, cut(200, 150, 4, 3, 2, 10).Map.Bytes);
    EXPECT_EQ(cut(200, 150, 4, 3, 2, -1).Map.Bytes, cut(200, 150, 4, 3, 2, 0).Map.Bytes);
}

TEST(CutParameters, EmptyPictureOrGridIsRefusedAndTheCursorRestored) {
    test::FakeHost host;
    CutMap map;
    SeedTable seeds;
    RandomGenerator rng;
    EXPECT_THROW(cutPuzzle(map, seeds, {0, 10, 1, 1, 1, 0, 5}, rng, &host), std::invalid_argument);
    EXPECT_THROW(cutPuzzle(map, seeds, {10, 10, 0, 1, 1, 0, 5}, rng, &host), std::invalid_argument);
    EXPECT_THROW(cutPuzzle(map, seeds, {10, 10, 1, -2, 1, 0, 5}, rng, &host), std::invalid_argument);
    EXPECT_EQ(host.cursor(), CursorShape::Default);
}

TEST(CutParameters, MoreCellsThanPixelsStillGivesSeedsOnTheMap) {
    const Cut c = cut(5, 4, 9, 7, kStyleClassic, 10);
    ASSERT_EQ(c.Seeds.Points.size(), 63u);
    for (const Point& s : c.Seeds.Points) {
        EXPECT_TRUE(c.Map.contains(s.X, s.Y));
    }
}

// ---- Progress and cursor ----

TEST(CutProgress, ReportsEveryFifthPercentOnceAndRestoresTheCursor) {
    test::FakeHost host;
    cut(300, 200, 9, 7, kStyleClassic, 2, 5, 1, &host);
    ASSERT_FALSE(host.statusTexts.empty());
    EXPECT_EQ(host.statusTexts.back(), "");
    int last = -1;
    for (std::size_t k = 0; k + 1 < host.statusTexts.size(); ++k) {
        const std::string& text = host.statusTexts[k];
        ASSERT_EQ(text.rfind("Generating: ", 0), 0u) << text;
        ASSERT_EQ(text.back(), '%');
        const int percent = std::stoi(text.substr(12));
        EXPECT_EQ(percent % 5, 0);
        EXPECT_GT(percent, last);
        last = percent;
    }
    EXPECT_EQ(last, 100);
    ASSERT_GE(host.cursors.size(), 2u);
    EXPECT_EQ(host.cursors.front(), CursorShape::Busy);
    EXPECT_EQ(host.cursor(), CursorShape::Default);
}

TEST(CutProgress, CountsCellsBeyondSixteenBits) {
    test::FakeHost host;
    cut(700, 400, 350, 200, kStyleSquare, 0, 5, 1, &host); // 70,000 cells
    ASSERT_GE(host.statusTexts.size(), 2u);
    EXPECT_EQ(host.statusTexts[host.statusTexts.size() - 2], "Generating: 100%");
    EXPECT_EQ(host.statusTexts.size(), 21u + 1u); // 0 % .. 100 % and the clearing
}

/// A host whose status line fails in the middle of the cut.
class FailingStatusHost : public test::FakeHost {
public:
    void setStatusText(const std::string& text) override {
        FakeHost::setStatusText(text);
        if (text == "Generating: 50%") {
            throw std::runtime_error("status line gone");
        }
    }
};

TEST(CutProgress, FailureMidwayStillRestoresTheCursor) {
    FailingStatusHost host;
    EXPECT_THROW(cut(300, 200, 9, 7, kStyleClassic, 2, 5, 1, &host), std::runtime_error);
    EXPECT_EQ(host.cursors.front(), CursorShape::Busy);
    EXPECT_EQ(host.cursor(), CursorShape::Default);
    EXPECT_EQ(host.statusTexts.back(), "");
}

} // namespace
} // namespace zg

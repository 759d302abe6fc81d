#include "pieces/TBezier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zg {
namespace {

/// The map's non-zero pixels in raster order.
std::vector<Point> linePixels(const CutMap& map) {
    std::vector<Point> out;
    for (int32_t y = 0; y < map.Height; ++y) {
        for (int32_t x = 0; x < map.Width; ++x) {
            if (map.at(x, y) != 0) {
                out.push_back({x, y});
            }
        }
    }
    return out;
}

std::vector<Point> lineOf(Point from, Point to, int32_t size = 12) {
    CutMap map;
    map.reset(size, size);
    TBezier b(map, 1);
    b.setPen(0x17);
    b.segment(from.X, from.Y, to.X, to.Y);
    return linePixels(map);
}

TEST(TBezierLine, XMajorStepsAlongXAndDependsOnDirection) {
    // Error starts at 2*1 - 4 = -2; the minor step comes at the second move.
    EXPECT_EQ(lineOf({0, 0}, {4, 1}), (std::vector<Point>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}));
    EXPECT_EQ(lineOf({4, 1}, {0, 0}), (std::vector<Point>{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}));
}

TEST(TBezierLine, YMajorStepsAlongY) {
    EXPECT_EQ(lineOf({0, 0}, {1, 4}), (std::vector<Point>{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}}));
    EXPECT_EQ(lineOf({1, 4}, {0, 0}), (std::vector<Point>{{0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 4}}));
}

TEST(TBezierLine, EqualLengthsGiveTheDiagonalBothWays) {
    EXPECT_EQ(lineOf({1, 1}, {4, 4}), (std::vector<Point>{{1, 1}, {2, 2}, {3, 3}, {4, 4}}));
    EXPECT_EQ(lineOf({4, 1}, {1, 4}), (std::vector<Point>{{4, 1}, {3, 2}, {2, 3}, {1, 4}}));
}

TEST(TBezierLine, WritesBothEndsAndThePenValue) {
    CutMap map;
    map.reset(10, 10);
    TBezier b(map, 1);
    b.setPen(0x1C);
    b.segment(2, 7, 8, 3);
    EXPECT_EQ(map.at(2, 7), 0x1C);
    EXPECT_EQ(map.at(8, 3), 0x1C);
    EXPECT_EQ(linePixels(map).size(), 7u); // x-major: |dx| + 1 pixels
    EXPECT_EQ(b.position(), (Point{8, 3}));
    EXPECT_EQ(lineOf({5, 5}, {5, 5}), (std::vector<Point>{{5, 5}}));
}

TEST(TBezierLine, NeverWritesOutsideTheMap) {
    CutMap map;
    map.reset(6, 4);
    TBezier b(map, 1);
    b.setPen(0x11);
    b.segment(-10, -3, 20, 9);
    b.segment(-100000, 2, 100000, 2);
    EXPECT_EQ(map.Bytes.size(), 24u);
    for (int32_t x = 0; x < 6; ++x) {
        EXPECT_EQ(map.at(x, 2), 0x11);
    }
}

TEST(TBezierSetUp, ClearsTheMapAndChoosesTheStepCount) {
    CutMap map;
    map.reset(480, 4);
    std::fill(map.Bytes.begin(), map.Bytes.end(), uint8_t(9));
    const TBezier b(map, 8);
    EXPECT_TRUE(std::all_of(map.Bytes.begin(), map.Bytes.end(), [](uint8_t v) { return v == 0; }));
    EXPECT_EQ(b.steps(), 30); // (480 div 8) div 2
    map.reset(100, 1);
    EXPECT_EQ(TBezier(map, 1).steps(), 40); // at most 40
    map.reset(3, 1);
    EXPECT_EQ(TBezier(map, 1).steps(), 1); // at least 1
    EXPECT_EQ(TBezier(map, 0).steps(), 1); // no division by a zero grid
}

TEST(TBezierSetUp, WeightsAreBernsteinPolynomials) {
    CutMap map;
    map.reset(20, 1);
    const TBezier b(map, 1); // N = 10
    for (int32_t n = 1; n <= 4; ++n) {
        for (int32_t k = 0; k <= b.steps(); ++k) {
            double sum = 0.0;
            for (int32_t i = 0; i <= n; ++i) {
                sum += b.weight(n, i, k);
            }
            EXPECT_NEAR(sum, 1.0, 1e-12);
        }
        EXPECT_EQ(b.weight(n, 0, 0), 1.0);
        EXPECT_EQ(b.weight(n, n, b.steps()), 1.0);
    }
    EXPECT_DOUBLE_EQ(b.weight(3, 1, 5), 3 * 0.5 * 0.25); // C(3,1) t (1-t)^2 at t = 1/2
}

TEST(TBezierCurve, RoundingAgreesWithTheDefaultRoundingModeEverywhere) {
    // The default floating-point rounding is to nearest, halves to even.
    std::vector<double> values;
    for (int k = -4000; k <= 4000; ++k) {
        values.push_back(k / 4.0);
        values.push_back(k / 4.0 + 1e-9);
        values.push_back(k / 4.0 - 1e-9);
    }
    for (const double big : {2147483646.5, -2147483647.5, 4503599627370495.5, 4503599627370497.0}) {
        values.push_back(big);
        values.push_back(-big);
    }
    for (const double v : values) {
        const double expected = std::clamp(std::nearbyint(v), double(INT32_MIN), double(INT32_MAX));
        ASSERT_EQ(TBezier::roundHalfEven(v), int32_t(expected)) << v;
    }
    EXPECT_EQ(TBezier::roundHalfEven(1e300), INT32_MAX);
    EXPECT_EQ(TBezier::roundHalfEven(-1e300), INT32_MIN);
}

TEST(TBezierCurve, RoundsHalvesToEven) {
    EXPECT_EQ(TBezier::roundHalfEven(0.5), 0);
    EXPECT_EQ(TBezier::roundHalfEven(1.5), 2);
    EXPECT_EQ(TBezier::roundHalfEven(2.5), 2);
    EXPECT_EQ(TBezier::roundHalfEven(-0.5), 0);
    EXPECT_EQ(TBezier::roundHalfEven(-1.5), -2);
    EXPECT_EQ(TBezier::roundHalfEven(2.4999), 2);
    EXPECT_EQ(TBezier::roundHalfEven(2.5001), 3);

    // N = 2: the middle point of (0,0) (1,2) (0,0) is (0.5, 1) -> (0, 1).
    CutMap map;
    map.reset(4, 8);
    TBezier b(map, 1);
    b.setPen(0x10);
    const Point low[] = {{0, 0}, {1, 2}, {0, 0}};
    b.curve(low);
    EXPECT_EQ(linePixels(map), (std::vector<Point>{{0, 0}, {0, 1}}));
    // (0,0) (3,6) (0,0): middle (1.5, 3) -> (2, 3).
    TBezier c(map, 1);
    c.setPen(0x10);
    const Point high[] = {{0, 0}, {3, 6}, {0, 0}};
    c.curve(high);
    EXPECT_EQ(map.at(2, 3), 0x10);
    EXPECT_EQ(map.at(1, 3), 0);
}

TEST(TBezierCurve, RunsFromTheFirstToTheLastControlPointConnected) {
    CutMap map;
    map.reset(200, 200);
    TBezier b(map, 2); // N = 40
    b.setPen(0x13);
    const Point cubic[] = {{10, 150}, {30, 20}, {170, 190}, {180, 40}};
    b.curve(cubic);
    EXPECT_EQ(map.at(10, 150), 0x13);
    EXPECT_EQ(map.at(180, 40), 0x13);
    EXPECT_EQ(b.position(), (Point{180, 40}));
    // Connected: every line pixel but the two ends has at least two 8-neighbours.
    int32_t ends = 0;
    for (const Point p : linePixels(map)) {
        int32_t neighbours = 0;
        for (int32_t dy = -1; dy <= 1; ++dy) {
            for (int32_t dx = -1; dx <= 1; ++dx) {
                if ((dx != 0 || dy != 0) && map.contains(p.X + dx, p.Y + dy) && map.at(p.X + dx, p.Y + dy)) {
                    ++neighbours;
                }
            }
        }
        EXPECT_GE(neighbours, 1);
        ends += neighbours == 1 ? 1 : 0;
    }
    EXPECT_EQ(ends, 2);
}

TEST(TBezierCurve, IgnoresUnsupportedPointCounts) {
    CutMap map;
    map.reset(10, 10);
    TBezier b(map, 1);
    b.setPen(0x10);
    const Point one[] = {{3, 3}};
    b.curve(one);
    const Point six[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
    b.curve(six);
    EXPECT_TRUE(linePixels(map).empty());
}

TEST(TBezierCanvas, DrawsInColourAndClips) {
    Bitmap24 canvas(8, 8);
    canvas.fill(rgb(1, 2, 3));
    TBezier b(canvas, 8, 1);
    b.setColor(rgb(255, 0, 0));
    b.segment(-4, 3, 20, 3);
    for (int32_t x = 0; x < 8; ++x) {
        EXPECT_EQ(canvas.pixel(x, 3), rgb(255, 0, 0));
    }
    EXPECT_EQ(canvas.pixel(0, 2), rgb(1, 2, 3));
}

} // namespace
} // namespace zg

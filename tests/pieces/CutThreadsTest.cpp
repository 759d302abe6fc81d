#include "pieces/Cutter.h"
#include "pieces/PieceLabeller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zg {
namespace {

/// What a cut and its labelling leave for the rest of the build.
struct CutResult {
    std::vector<uint8_t> map;
    std::vector<Point> seeds;
    CutTrace trace;
    uint32_t rngState = 0;
    std::vector<int64_t> runs; ///< per open run: row, ends, area, next run of the area
    std::vector<uint8_t> filled;
    std::vector<Rect> boxes;
    friend bool operator==(const CutResult&, const CutResult&) = default;
};

CutResult cutAndLabel(const CutParams& params, int32_t threads) {
    CutResult r;
    CutMap map;
    SeedTable seeds;
    OpenRuns runs;
    RandomGenerator rng;
    rng.RandSeed = uint32_t(97531 + params.Style * 7 + params.Oddness);
    cutPuzzle(map, seeds, params, rng, nullptr, &r.trace, &runs, threads);
    r.map.assign(map.Bytes.begin(), map.Bytes.end());
    r.seeds = seeds.Points;
    r.rngState = rng.RandSeed;
    for (uint32_t k = 0; k < runs.runCount(); ++k) {
        const OpenRuns::Run& run = runs.run(k);
        r.runs.insert(r.runs.end(), {run.Row, run.Left, run.Right, runs.areaOf(k), runs.nextInArea(k)});
    }
    r.boxes = labelRegions(map, seeds, nullptr, &runs);
    r.filled.assign(map.Bytes.begin(), map.Bytes.end());
    return r;
}

TEST(CutThreads, EveryThreadCountCutsAndLabelsTheSameBytes) {
    struct Shape {
        int32_t width, height, cols, rows;
    };
    // Many bands of rows with lines crossing between them, one row, one
    // column, and pieces smaller than a band.
    const Shape shapes[] = {{300, 220, 6, 5}, {600, 60, 10, 1}, {60, 600, 1, 10}, {200, 400, 20, 40}};
    for (const Shape& s : shapes) {
        for (int32_t style = kStyleClassic; style <= kStyleMix; ++style) {
            for (const int32_t oddness : {0, 10}) {
                for (const int32_t version : {5, 3}) {
                    SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height) + " style " +
                                 std::to_string(style) + " oddness " + std::to_string(oddness) + " version " +
                                 std::to_string(version));
                    const CutParams params{s.width, s.height, s.cols, s.rows, style, oddness, version};
                    const CutResult serial = cutAndLabel(params, 1);
                    ASSERT_EQ(serial.boxes.size(), std::size_t(s.cols * s.rows));
                    for (const int32_t threads : {2, 4}) {
                        EXPECT_TRUE(cutAndLabel(params, threads) == serial) << threads << " threads";
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace zg

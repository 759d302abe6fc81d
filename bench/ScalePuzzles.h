#pragma once

// Puzzles of about 1,000 and 10,000 pieces cut from the same 4000 x 3000
// photograph, and a way of timing one operation on both in one run.

#include "BenchPictures.h"
#include "game/SilentHost.h"
#include "game/TJigsaw.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

namespace zg::bench {

/// A host that shows nothing and never waits, with the left button held for drags.
class QuietHost : public SilentHost {
public:
    void presentNow(const Rect& r) override { benchmark::DoNotOptimize(r); }
    bool isLeftButtonDown() const override { return true; }
    int64_t nowMs() const override { return 0; }
    void waitUntilMs(int64_t) override {}
};

constexpr int32_t kScaleBoardW = 1920;
constexpr int32_t kScaleBoardH = 1080;

/// Sets `jig` up for a puzzle of about `pieces` pieces (seed, style, oddness,
/// a 1920 x 1080 board, sound and rotation off) without building it.
void prepareScalePuzzle(TJigsaw& jig, int32_t pieces);

/// Builds a puzzle of about `pieces` pieces of the 4000 x 3000 photograph in
/// `jig`, scatters it on a 1920 x 1080 board and starts playing.
void buildScalePuzzle(TJigsaw& jig, int32_t pieces);

/// A new puzzle of about `pieces` pieces of the 4000 x 3000 photograph,
/// scattered on a 1920 x 1080 board, playing.
struct ScalePuzzle {
    explicit ScalePuzzle(int32_t pieces);
    QuietHost host;
    std::unique_ptr<TJigsaw> jig;
};

/// The shared puzzle of about 1,000 (pieces <= 1000) or 10,000 pieces, made
/// on first use. Benchmarks that change it for good make their own instead.
TJigsaw& scalePuzzle(int32_t pieces);

/// One side of a comparison: `prepare` runs untimed before each block,
/// `run` is timed and does the block's operations.
struct Side {
    std::function<void(int64_t)> prepare;
    std::function<void(int64_t)> run;
};

/// Runs the two sides block by block, in turn, until the benchmark stops, and
/// reports each one's thread time per operation (`perBlock` operations a
/// block, in `unit` of `scale` ns), the piece counts and the ratio of the
/// large one to the small one.
void compareSizes(benchmark::State& state, int64_t perBlock, const Side& small, const Side& large,
                  const std::string& unit, double scale, int32_t smallPieces, int32_t largePieces);

/// compareSizes on the shared puzzles of about 1,000 and 10,000 pieces.
void compareShared(benchmark::State& state, int64_t perBlock, const Side& small, const Side& large,
                   const std::string& unit, double scale);

} // namespace zg::bench

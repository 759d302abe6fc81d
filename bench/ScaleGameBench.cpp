// Arranging, the hint and auto-solve steps at 1,000 and at 10,000 pieces,
// each measured for both sizes interleaved in one run (thread CPU time) with
// the ratio of the large puzzle to the small one, which may be at most 14
// (n log n for ten times the pieces).

#include "ScalePuzzles.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace zg {
namespace {

using bench::compareShared;
using bench::compareSizes;
using bench::scalePuzzle;
using bench::Side;

void BM_ArrangeInGridAt1kAnd10k(benchmark::State& state) {
    TJigsaw& small = scalePuzzle(1000);
    TJigsaw& large = scalePuzzle(10000);
    compareShared(state, 1, {{}, [&](int64_t) { small.ArrangeInGrid(small.mainArea(), true, true); }},
                  {{}, [&](int64_t) { large.ArrangeInGrid(large.mainArea(), true, true); }}, "arrange_ms",
                  1e6);
}
BENCHMARK(BM_ArrangeInGridAt1kAnd10k)->Unit(benchmark::kMillisecond);

void BM_ArrangeAtEdgeAt1kAnd10k(benchmark::State& state) {
    TJigsaw& small = scalePuzzle(1000);
    TJigsaw& large = scalePuzzle(10000);
    compareShared(state, 1, {{}, [&](int64_t) { small.ArrangeAtEdge(small.mainArea(), true, true); }},
                  {{}, [&](int64_t) { large.ArrangeAtEdge(large.mainArea(), true, true); }}, "arrange_ms",
                  1e6);
}
BENCHMARK(BM_ArrangeAtEdgeAt1kAnd10k)->Unit(benchmark::kMillisecond);

/// A host whose clock moves on when waited for, that answers auto-solve at
/// full speed, keeps the mouse button up, and ends auto-solve after a given
/// number of steps (each step lets window events run once).
class StepHost : public bench::QuietHost {
public:
    bool isLeftButtonDown() const override { return false; }
    int64_t nowMs() const override { return m_clock; }
    void waitUntilMs(int64_t deadline) override { m_clock = std::max(m_clock, deadline); }
    int32_t solveSpeed() const override { return 10; }
    void processEvents() override {
        if (jig != nullptr && --stepsLeft <= 0) {
            jig->AutoSolving = false;
        }
    }
    TJigsaw* jig = nullptr;
    int32_t stepsLeft = 0;

private:
    int64_t m_clock = 0;
};

/// A puzzle of its own (auto-solve joins pieces for good) with a StepHost.
struct SolvePuzzle {
    explicit SolvePuzzle(int32_t pieces) : jig(std::make_unique<TJigsaw>(host)) {
        bench::buildScalePuzzle(*jig, pieces);
        host.jig = jig.get();
    }
    void steps(int32_t n) {
        host.stepsLeft = n;
        jig->AutoSolve();
    }
    StepHost host;
    std::unique_ptr<TJigsaw> jig;
};

void BM_AutoSolveStepAt1kAnd10k(benchmark::State& state) {
    constexpr int32_t kSteps = 20;
    SolvePuzzle small(1000);
    SolvePuzzle large(10000);
    compareSizes(state, kSteps, {{}, [&](int64_t) { small.steps(kSteps); }},
                 {{}, [&](int64_t) { large.steps(kSteps); }}, "step_ms", 1e6, small.jig->pieceCount(),
                 large.jig->pieceCount());
}
// Ten blocks of twenty steps: the small puzzle is far from solved at the end.
BENCHMARK(BM_AutoSolveStepAt1kAnd10k)->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_HintAt1kAnd10k(benchmark::State& state) {
    SolvePuzzle small(1000);
    SolvePuzzle large(10000);
    compareSizes(state, 1, {{}, [&](int64_t) { small.jig->FlashHint(); }},
                 {{}, [&](int64_t) { large.jig->FlashHint(); }}, "hint_ms", 1e6, small.jig->pieceCount(),
                 large.jig->pieceCount());
}
BENCHMARK(BM_HintAt1kAnd10k)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zg

#include "ScalePuzzles.h"

namespace zg::bench {

void prepareScalePuzzle(TJigsaw& jig, int32_t pieces) {
    jig.State.Version = 5;
    jig.State.RequestedPieces = int16_t(pieces);
    jig.State.Seed = 1234567;
    jig.State.Style = 1;
    jig.State.Oddness = 5;
    jig.Config.BoardWidth = kScaleBoardW;
    jig.Config.BoardHeight = kScaleBoardH;
    jig.Config.SoundOn = false;
    jig.Config.RotationOn = false;
}

void buildScalePuzzle(TJigsaw& jig, int32_t pieces) {
    prepareScalePuzzle(jig, pieces);
    jig.BuildPuzzle(photoPicture(4000, 3000));
    jig.NewLayout();
    jig.SetGameState(TJigsaw::kPlaying);
    jig.SetBoardSize(kScaleBoardW, kScaleBoardH);
}

ScalePuzzle::ScalePuzzle(int32_t pieces) : jig(std::make_unique<TJigsaw>(host)) {
    buildScalePuzzle(*jig, pieces);
}

TJigsaw& scalePuzzle(int32_t pieces) {
    static std::unique_ptr<ScalePuzzle> small;
    static std::unique_ptr<ScalePuzzle> large;
    auto& slot = pieces <= 1000 ? small : large;
    if (!slot) {
        slot = std::make_unique<ScalePuzzle>(pieces <= 1000 ? 1000 : 10000);
    }
    return *slot->jig;
}

void compareSizes(benchmark::State& state, int64_t perBlock, const Side& small, const Side& large,
                  const std::string& unit, double scale, int32_t smallPieces, int32_t largePieces) {
    double smallNs = 0;
    double largeNs = 0;
    int64_t blocks = 0;
    for (auto _ : state) {
        if (small.prepare) {
            small.prepare(blocks);
        }
        const double t0 = threadNs();
        small.run(blocks);
        const double t1 = threadNs();
        if (large.prepare) {
            large.prepare(blocks);
        }
        const double t2 = threadNs();
        large.run(blocks);
        const double t3 = threadNs();
        smallNs += t1 - t0;
        largeNs += t3 - t2;
        ++blocks;
    }
    const double ops = double(blocks * perBlock);
    state.counters["1k_" + unit] = smallNs / ops / scale;
    state.counters["10k_" + unit] = largeNs / ops / scale;
    state.counters["pieces_1k"] = smallPieces;
    state.counters["pieces_10k"] = largePieces;
    state.counters["ratio"] = largeNs / smallNs;
}

void compareShared(benchmark::State& state, int64_t perBlock, const Side& small, const Side& large,
                   const std::string& unit, double scale) {
    compareSizes(state, perBlock, small, large, unit, scale, scalePuzzle(1000).pieceCount(),
                 scalePuzzle(10000).pieceCount());
}

} // namespace zg::bench

// The game at 1,000 and at 10,000 pieces cut from the same 4000 x 3000
// picture: one drag frame, a full board redraw and snapping a dropped piece,
// each measured for both sizes interleaved in one run (thread CPU time) and
// reported with the ratio of the large puzzle to the small one. None of them
// may grow faster than n log n: at most 14x for ten times the pieces.

#include "ScalePuzzles.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zg {
namespace {

using bench::compareShared;
using bench::kScaleBoardH;
using bench::kScaleBoardW;
using bench::scalePuzzle;
using bench::Side;

/// A single piece lifted in the middle of the board and dragged a few pixels
/// per frame.
struct Drag {
    static constexpr int32_t kFrames = 64;
    explicit Drag(TJigsaw& puzzle) : jig(puzzle) {
        TFormPiece* p = jig.Pieces[jig.Pieces.size() / 2];
        p->Left = kScaleBoardW / 2;
        p->Top = kScaleBoardH / 2;
        jig.SetBoardSize(kScaleBoardW, kScaleBoardH);
        grab = {p->Left + 5, p->Top + 5};
        jig.LiftGroup(p);
        jig.DragTo(grab.X, grab.Y, TMove::mmDragPiece);
    }
    ~Drag() { jig.DropPieces(&jig.mainArea(), false); }
    Drag(const Drag&) = delete;
    Drag& operator=(const Drag&) = delete;

    void frames(int64_t block) {
        for (int32_t k = 0; k < kFrames; ++k) {
            const int64_t i = block * kFrames + k;
            jig.DragTo(grab.X + int32_t(i * 3 % 600) - 300, grab.Y + int32_t(i * 2 % 400) - 200,
                       TMove::mmDragPiece);
        }
    }
    TJigsaw& jig;
    Point grab;
};

void BM_DragFrameAt1kAnd10k(benchmark::State& state) {
    Drag small(scalePuzzle(1000));
    Drag large(scalePuzzle(10000));
    compareShared(state, Drag::kFrames, {{}, [&](int64_t b) { small.frames(b); }},
                  {{}, [&](int64_t b) { large.frames(b); }}, "frame_us", 1e3);
}
BENCHMARK(BM_DragFrameAt1kAnd10k)->Unit(benchmark::kMillisecond);

void BM_FullRedrawAt1kAnd10k(benchmark::State& state) {
    TJigsaw& small = scalePuzzle(1000);
    TJigsaw& large = scalePuzzle(10000);
    compareShared(state, 1, {{}, [&](int64_t) { small.DrawBoard(small.Mural); }},
                  {{}, [&](int64_t) { large.DrawBoard(large.Mural); }}, "redraw_ms", 1e6);
}
BENCHMARK(BM_FullRedrawAt1kAnd10k)->Unit(benchmark::kMillisecond);

/// Pieces dropped exactly where they fit against their right-hand neighbour
/// and snapped. With `onGroup` that neighbour has first been joined to its
/// own right-hand neighbour, so the drop joins a group rather than a loose
/// piece. Every piece is put back before the next block, untimed.
struct Snaps {
    static constexpr int32_t kPerBlock = 32;
    struct Saved {
        int32_t Left, Top, GroupId;
        bool Joined, Placed, Settled;
    };

    Snaps(TJigsaw& puzzle, bool ontoGroup) : jig(puzzle), onGroup(ontoGroup) {
        for (const TFormPiece* p : jig.Pieces) {
            saved.push_back({p->Left, p->Top, p->GroupId, p->Joined, p->Placed, p->Settled});
        }
        solved = jig.State.SolvedCount;
    }
    ~Snaps() { restore(); }
    Snaps(const Snaps&) = delete;
    Snaps& operator=(const Snaps&) = delete;

    void restore() {
        for (std::size_t i = 0; i < saved.size(); ++i) {
            TFormPiece& p = *jig.Pieces[i];
            p.Left = saved[i].Left;
            p.Top = saved[i].Top;
            p.GroupId = saved[i].GroupId;
            p.Joined = saved[i].Joined;
            p.Placed = saved[i].Placed;
            p.Settled = saved[i].Settled;
        }
        jig.State.SolvedCount = solved;
    }

    /// Puts the pieces back and lays out the next block's drops.
    void prepare(int64_t block) {
        restore();
        const int32_t cols = jig.State.Cols;
        const int32_t rows = jig.State.Rows;
        const int32_t slotsPerRow = std::max(1, (cols - 3) / 3);
        dropped.clear();
        Rect dirty;
        for (int32_t k = 0; k < kPerBlock; ++k) {
            // Pieces spread over the grid, three columns apart, clear of the right edge.
            const int64_t slot = (block * kPerBlock + k) * 7919;
            const int32_t row = int32_t(slot / slotsPerRow % rows);
            const int32_t col = int32_t(slot % slotsPerRow) * 3;
            TFormPiece* p = jig.Pieces[std::size_t(row * cols + col)];
            TFormPiece& right = *jig.Pieces[std::size_t(p->Index + 1)];
            if (onGroup) {
                jig.JoinPieces(right, *jig.Pieces[std::size_t(p->Index + 2)], dirty);
            }
            const Point fit = p->positionNextTo(right);
            p->Left = fit.X;
            p->Top = fit.Y;
            dropped.push_back(p);
        }
    }

    void run(int64_t) {
        for (TFormPiece* p : dropped) {
            Rect dirty;
            jig.SnapDropped({p}, dirty);
            benchmark::DoNotOptimize(dirty);
        }
    }

    TJigsaw& jig;
    bool onGroup;
    std::vector<Saved> saved;
    uint16_t solved = 0;
    std::vector<TFormPiece*> dropped;
};

void BM_SnapAt1kAnd10k(benchmark::State& state) {
    const bool onGroup = state.range(0) != 0;
    state.SetLabel(onGroup ? "onto a group" : "onto a loose piece");
    Snaps small(scalePuzzle(1000), onGroup);
    Snaps large(scalePuzzle(10000), onGroup);
    compareShared(state, Snaps::kPerBlock,
                  {[&](int64_t b) { small.prepare(b); }, [&](int64_t b) { small.run(b); }},
                  {[&](int64_t b) { large.prepare(b); }, [&](int64_t b) { large.run(b); }}, "snap_us", 1e3);
}
BENCHMARK(BM_SnapAt1kAnd10k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zg

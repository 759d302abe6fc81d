// Dragging lifted groups of 1, 50 and 500 pieces through the move engine,
// each frame measured against plain copies of the same two rectangles (the
// place the sprite left, restored from the background, and the place it now
// covers), interleaved in one run. The move engine builds one sprite per lift,
// so a frame should cost a small multiple of those copies whatever the piece
// count: the ratio must stay flat as the group grows.

#include "AllocationCounter.h"
#include "board/TMove.h"
#include "game/SilentHost.h"
#include "gfx/RasterOps.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace zg {
namespace {

/// CPU time of this thread, so other programs on a shared machine do not count.
double threadNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

/// A host that shows nothing, with the left button held: presenting is free,
/// so the engine's own work is what is measured.
class DragHost : public SilentHost {
public:
    void presentNow(const Rect& r) override { benchmark::DoNotOptimize(r); }
    bool isLeftButtonDown() const override { return true; }
    int64_t nowMs() const override { return 0; }
    void waitUntilMs(int64_t) override {}
};

constexpr int32_t kBoardW = 1920;
constexpr int32_t kBoardH = 1080;
constexpr int32_t kSide = 32; ///< piece cell size
constexpr int32_t kCols = 25; ///< grid columns: 500 pieces make a 25 x 20 block

/// A puzzle of 500 disc-shaped pieces on a 1920 x 1080 board with shadows on.
/// The first `groupSize` pieces (row-major in the grid) form one joined
/// group at their home places; the others lie loose elsewhere on the board.
class DragSetup {
public:
    explicit DragSetup(int32_t groupSize) : move(host) {
        const int32_t count = kCols * 20;
        move.createRecords(count);
        move.State.Cols = kCols;
        move.State.Rows = 20;
        move.State.PieceCount = uint16_t(count);
        move.State.PieceWidth = move.State.PieceHeight = kSide;
        move.State.PictureWidth = move.State.ScaledWidth = kCols * kSide;
        move.State.PictureHeight = move.State.ScaledHeight = 20 * kSide;
        move.Config.ShadowsOn = true;
        move.Config.OutlineStyle = 0;
        move.ImageAtlas.resize(kCols * kSide, 20 * kSide);
        move.MaskAtlas.resize(kCols * kSide, 20 * kSide);
        for (TFormPiece* p : move.Pieces) {
            p->CellX = p->HomeX = (p->Index % kCols) * kSide;
            p->CellY = p->HomeY = (p->Index / kCols) * kSide;
            p->Width = p->Height = kSide;
            for (int32_t y = 0; y < kSide; ++y) {
                for (int32_t x = 0; x < kSide; ++x) {
                    if ((x - 16) * (x - 16) + (y - 16) * (y - 16) < 17 * 17) {
                        move.MaskAtlas.setWhite(p->CellX + x, p->CellY + y, false);
                        move.ImageAtlas.setPixel(p->CellX + x, p->CellY + y,
                                                 rgb(uint8_t(x * 7 + p->Index), uint8_t(y * 5), 120));
                    }
                }
            }
            const bool inGroup = p->Index < groupSize;
            p->Joined = inGroup && groupSize > 1;
            p->GroupId = inGroup ? 0 : p->Index;
            p->Left = inGroup ? 100 + p->HomeX : 1000 + int32_t(move.Rng.Random(800));
            p->Top = inGroup ? 100 + p->HomeY : int32_t(move.Rng.Random(kBoardH - kSide));
        }
        move.State.NextGroupId = count;
        move.CreateTrays(kBoardW, kBoardH);
        move.SortAllPieces();
        move.BackBuffer.resize(kBoardW, kBoardH);
        move.Mural.SetWallSize(kBoardW, kBoardH);
        move.Mural.PaintWall(false, nullptr, rgb(40, 110, 60));
        move.DrawBoard(move.Mural);
        move.ResetCompositor();
        background = move.BackBuffer;
        plainBoard = move.BackBuffer;

        move.LiftGroup(move.Pieces[0]);
        move.DragTo(grab.X, grab.Y, TMove::mmDragPiece);
    }

    /// The mouse in frame i: a few pixels per frame, bouncing within a range
    /// that keeps the whole group on the board.
    Point mouseAt(int64_t i) const {
        const int32_t spanX = kBoardW - move.MoveRect.width() - 200;
        const int32_t spanY = kBoardH - move.MoveRect.height() - 200;
        auto bounce = [](int64_t v, int32_t span) {
            const int64_t period = 2 * int64_t(span);
            const int64_t m = v % period;
            return int32_t(m < span ? m : period - m);
        };
        return {grab.X + bounce(i * 3, spanX), grab.Y + bounce(i * 2, spanY)};
    }

    void engineFrame(int64_t i) {
        const Point m = mouseAt(i);
        move.DragTo(m.X, m.Y, TMove::mmDragPiece);
    }

    /// The reference: the old rectangle restored and the new one written, with
    /// plain copies only, into a board of the same size.
    void plainFrame(int64_t i) {
        const Point a = mouseAt(i - 1);
        const Point b = mouseAt(i);
        const int32_t w = move.MoveRect.width();
        const int32_t h = move.MoveRect.height();
        const Rect old = Rect::fromSize(a.X, a.Y, w, h);
        copyRect(plainBoard, old.Left, old.Top, background, old);
        copyRect(plainBoard, b.X, b.Y, move.SpriteImage, {0, 0, w, h});
        benchmark::ClobberMemory();
    }

    DragHost host;
    TMove move;
    Bitmap24 background;
    Bitmap24 plainBoard;
    Point grab{110, 110};
};

void BM_DragGroup(benchmark::State& state) {
    const int32_t groupSize = int32_t(state.range(0));
    DragSetup s(groupSize);
    constexpr int kBlock = 64;
    int64_t i = 1;
    double engineNs = 0;
    double copyNs = 0;
    int64_t frames = 0;
    int64_t allocations = 0;
    const int64_t drawnBefore = s.move.FramesDrawn();
    for (auto _ : state) {
        const int64_t a0 = bench::allocationCount();
        const double t0 = threadNs();
        for (int k = 0; k < kBlock; ++k) {
            s.engineFrame(i + k);
        }
        const double t1 = threadNs();
        allocations += bench::allocationCount() - a0;
        for (int k = 0; k < kBlock; ++k) {
            s.plainFrame(i + k);
        }
        const double t2 = threadNs();
        engineNs += t1 - t0;
        copyNs += t2 - t1;
        frames += kBlock;
        i += kBlock;
    }
    const double area = double(s.move.MoveRect.width()) * double(s.move.MoveRect.height());
    state.counters["pieces"] = double(s.move.MovingPieces.size());
    state.counters["sprite_px"] = area;
    state.counters["frame_us"] = engineNs / double(frames) / 1e3;
    state.counters["copy_us"] = copyNs / double(frames) / 1e3;
    state.counters["ratio"] = engineNs / copyNs;
    state.counters["ns_per_kpx"] = engineNs / double(frames) / (area / 1e3);
    state.counters["allocs_per_frame"] = double(allocations) / double(frames);
    state.counters["frames_drawn"] = double(s.move.FramesDrawn() - drawnBefore);
}
BENCHMARK(BM_DragGroup)->Arg(1)->Arg(50)->Arg(500)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace zg

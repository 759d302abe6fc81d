// Board rendering: one drag frame through the compositor against plain copies
// of the same rectangles, and a full board redraw against one plain copy of
// the whole back buffer, each pair measured in the same run.

#include "AllocationCounter.h"
#include "board/TBoxes.h"
#include "board/TDirty.h"
#include "board/TMural.h"
#include "game/SilentHost.h"
#include "gfx/RasterOps.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace zg {
namespace {

/// CPU time of this thread: other programs on a loaded machine do not count.
struct ThreadClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<ThreadClock>;
    static time_point now() {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return time_point(duration(int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec));
    }
};

/// A host that does nothing but fill text boxes: presenting costs nothing, so
/// the compositor's own work is what is measured.
class NoopHost : public SilentHost {
public:
    void presentNow(const Rect& r) override { benchmark::DoNotOptimize(r); }
    int64_t nowMs() const override { return 0; }
    void waitUntilMs(int64_t) override {}
    void drawText(Bitmap24& target, const Rect& clip, int32_t x, int32_t y, const std::string& text,
                  const FontSpec&, Color color) override {
        target.fill(intersection(Rect::fromSize(x, y, int32_t(text.size()) * 7, 14), clip), color);
    }
};

constexpr int32_t kBoardW = 1920;
constexpr int32_t kBoardH = 1080;

Bitmap24 patternBitmap(int32_t w, int32_t h) {
    Bitmap24 b(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            b.setPixel(x, y, rgb(uint8_t(x * 3 + y), uint8_t(x ^ y), uint8_t(y * 5)));
        }
    }
    return b;
}

/// A lifted single piece: a 64-pixel disc with its shadow 6 pixels off, in a
/// 72 x 72 sprite, as the move engine builds it.
struct PieceSprite {
    static constexpr int32_t kSize = 72;
    PieceSprite() : image(kSize, kSize), mask(kSize, kSize) {
        for (int32_t y = 0; y < kSize; ++y) {
            for (int32_t x = 0; x < kSize; ++x) {
                const auto inDisc = [](int32_t px, int32_t py) {
                    return (px - 32) * (px - 32) + (py - 32) * (py - 32) < 32 * 32;
                };
                if (inDisc(x, y)) {
                    image.setPixel(x, y, rgb(uint8_t(200 - x), uint8_t(60 + y), 90));
                    mask.setWhite(x, y, false);
                } else if (inDisc(x - 6, y - 6)) {
                    mask.setWhite(x, y, false); // shadow: black in both
                }
            }
        }
    }
    Bitmap24 image;
    Bitmap1 mask;
};

/// The sprite's top-left in frame i: a mouse path of a few pixels per frame.
Rect frameRect(int64_t i) {
    const int32_t x = 100 + int32_t(i * 3 % 1600);
    const int32_t y = 100 + int32_t(i * 2 % 800);
    return Rect::fromSize(x, y, PieceSprite::kSize, PieceSprite::kSize);
}

struct DragSetup {
    DragSetup() : board(patternBitmap(kBoardW, kBoardH)), background(board), dirty(host) {
        dirty.SetBoard(board);
        dirty.ResetLists();
        dirty.DrawMaskedSprite(frameRect(0), sprite.image, sprite.mask, {0, 0, 72, 72});
    }
    void compositorFrame(int64_t i) {
        dirty.EraseSprites();
        dirty.DrawMaskedSprite(frameRect(i), sprite.image, sprite.mask, {0, 0, 72, 72});
        dirty.Flush();
    }
    /// The reference: the same two rectangles written with plain copies only.
    void plainFrame(int64_t i) {
        const Rect old = frameRect(i - 1);
        const Rect now = frameRect(i);
        copyRect(board, old.Left, old.Top, background, old);
        copyRect(board, now.Left, now.Top, sprite.image, {0, 0, 72, 72});
        benchmark::ClobberMemory();
    }

    NoopHost host;
    PieceSprite sprite;
    Bitmap24 board;
    Bitmap24 background;
    TDirty dirty;
};

void BM_DragFrame(benchmark::State& state) {
    DragSetup s;
    int64_t i = 1;
    const int64_t before = bench::allocationCount();
    for (auto _ : state) {
        s.compositorFrame(i++);
    }
    state.counters["allocs_per_frame"] =
        double(bench::allocationCount() - before) / double(std::max<int64_t>(1, i - 1));
}
BENCHMARK(BM_DragFrame);

void BM_DragFramePlainCopy(benchmark::State& state) {
    DragSetup s;
    int64_t i = 1;
    for (auto _ : state) {
        s.plainFrame(i++);
    }
}
BENCHMARK(BM_DragFramePlainCopy);

/// Both in one loop, interleaved in blocks, so the ratio comes from one run
/// under the same machine load.
void BM_DragFrameVsPlainCopy(benchmark::State& state) {
    using Clock = ThreadClock;
    DragSetup s;
    constexpr int kBlock = 256;
    int64_t i = 1;
    double frameNs = 0;
    double copyNs = 0;
    int64_t frames = 0;
    int64_t allocations = 0;
    for (auto _ : state) {
        const int64_t a0 = bench::allocationCount();
        const auto t0 = Clock::now();
        for (int k = 0; k < kBlock; ++k) {
            s.compositorFrame(i + k);
        }
        const auto t1 = Clock::now();
        allocations += bench::allocationCount() - a0;
        for (int k = 0; k < kBlock; ++k) {
            s.plainFrame(i + k);
        }
        const auto t2 = Clock::now();
        frameNs += std::chrono::duration<double, std::nano>(t1 - t0).count();
        copyNs += std::chrono::duration<double, std::nano>(t2 - t1).count();
        frames += kBlock;
        i += kBlock;
    }
    state.counters["frame_ns"] = frameNs / double(frames);
    state.counters["copy_ns"] = copyNs / double(frames);
    state.counters["ratio"] = frameNs / copyNs;
    state.counters["allocs_per_frame"] = double(allocations) / double(frames);
}
BENCHMARK(BM_DragFrameVsPlainCopy);

/// A 1920 x 1080 board with 1,000 pieces of 48 pixels (discs in atlas cells)
/// scattered over it, three of them in each of two user trays.
class BoardSetup : public TBoxes {
public:
    static constexpr int32_t kSide = 48;
    static constexpr int32_t kCount = 1000;
    static constexpr int32_t kCols = 40;

    /// `style`: the outline style the pieces are shaded and drawn with.
    explicit BoardSetup(Host& host, int32_t style = kOutlineNone)
        : TBoxes(host), mural(host), m_style(style) {
        createRecords(kCount);
        State.PieceWidth = State.PieceHeight = kSide;
        State.PictureWidth = kBoardW;
        State.PictureHeight = kBoardH;
        ImageAtlas = patternBitmap(kCols * kSide, (kCount / kCols) * kSide);
        MaskAtlas.resize(ImageAtlas.width(), ImageAtlas.height());
        for (TFormPiece* p : Pieces) {
            p->CellX = (p->Index % kCols) * kSide;
            p->CellY = (p->Index / kCols) * kSide;
            p->Width = p->Height = kSide;
            p->GroupId = p->Index;
            for (int32_t y = 0; y < kSide; ++y) {
                for (int32_t x = 0; x < kSide; ++x) {
                    const bool in = (x - 24) * (x - 24) + (y - 24) * (y - 24) < 24 * 24;
                    if (in) {
                        MaskAtlas.setWhite(p->CellX + x, p->CellY + y, false);
                    } else {
                        ImageAtlas.setPixel(p->CellX + x, p->CellY + y, 0);
                    }
                }
            }
            p->Left = int32_t(Rng.Random(kBoardW - kSide));
            p->Top = int32_t(Rng.Random(kBoardH - kSide));
        }
        CreateTrays(kBoardW, kBoardH);
        for (int n = 1; n <= 2; ++n) {
            TBox& tray = addTray(n);
            tray.SetBounds(Rect::fromSize(300 * n, 200 * n, 400, 300));
            TransferPieces(
                {Pieces[std::size_t(n * 3)], Pieces[std::size_t(n * 3 + 1)], Pieces[std::size_t(n * 3 + 2)]},
                tray);
        }
        SortAllPieces();
        BackBuffer.resize(kBoardW, kBoardH);
        mural.SetWallSize(kBoardW, kBoardH);
        mural.PaintWall(false, nullptr, rgb(40, 110, 60));
        buildShading();
    }
    int32_t outlineStyle() const override { return m_style; }
    TMural mural;

private:
    int32_t m_style;
};

void BM_FullBoardRedrawVsPlainCopy(benchmark::State& state) {
    using Clock = ThreadClock;
    NoopHost host;
    BoardSetup board(host);
    Bitmap24 copy(kBoardW, kBoardH);
    double redrawNs = 0;
    double copyNs = 0;
    int64_t rounds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        board.DrawBoard(board.mural);
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        copyRect(copy, 0, 0, board.BackBuffer, board.BackBuffer.bounds());
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        redrawNs += std::chrono::duration<double, std::nano>(t1 - t0).count();
        copyNs += std::chrono::duration<double, std::nano>(t2 - t1).count();
        ++rounds;
    }
    state.counters["redraw_ms"] = redrawNs / double(rounds) / 1e6;
    state.counters["copy_ms"] = copyNs / double(rounds) / 1e6;
    state.counters["ratio"] = redrawNs / copyNs;
}
BENCHMARK(BM_FullBoardRedrawVsPlainCopy)->Unit(benchmark::kMillisecond);

/// The same full redraw with the pieces shaded as Card and as Wood, against
/// the redraw without outlines, interleaved in one run. Counters: none_ms,
/// card_ms, wood_ms and the ratios card_per_none and wood_per_none.
void BM_FullBoardRedrawByOutline(benchmark::State& state) {
    using Clock = ThreadClock;
    NoopHost host;
    BoardSetup none(host, TPieces::kOutlineNone);
    BoardSetup card(host, TPieces::kOutlineCard);
    BoardSetup wood(host, TPieces::kOutlineWood);
    double ns[3] = {};
    int64_t rounds = 0;
    for (auto _ : state) {
        BoardSetup* boards[3] = {&none, &card, &wood};
        for (int k = 0; k < 3; ++k) {
            const auto t0 = Clock::now();
            boards[k]->DrawBoard(boards[k]->mural);
            benchmark::ClobberMemory();
            ns[k] += std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
        }
        ++rounds;
    }
    state.counters["none_ms"] = ns[0] / double(rounds) / 1e6;
    state.counters["card_ms"] = ns[1] / double(rounds) / 1e6;
    state.counters["wood_ms"] = ns[2] / double(rounds) / 1e6;
    state.counters["card_per_none"] = ns[1] / ns[0];
    state.counters["wood_per_none"] = ns[2] / ns[0];
}
BENCHMARK(BM_FullBoardRedrawByOutline)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zg

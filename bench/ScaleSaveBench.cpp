// Saving and resuming a game at 1,000 and at 10,000 pieces, both sizes
// interleaved in one run, with the ratio of the large puzzle to the small
// one, which may be at most 14 (n log n for ten times the pieces).
//
// The games are played a little first: rotation on, so every piece lies
// turned as the scatter drew it, and every fourth piece joined to its
// right-hand neighbour.
//
// Save is SaveGame as the game calls it at exit: every piece's place stored,
// the file image made and written to a file in a temporary folder (a
// temporary file, flushed to the disk, renamed over the save). Thread CPU
// time; the wait for the disk is not CPU time and does not count.
//
// Resume is what the user waits for at the next start: a new puzzle object
// built from the picture (cut, extraction, atlases, colour keys) and
// TryResume on it (read the file, check it whole, put every piece back,
// turn the images, rebuild the trays and the board). Process CPU time, so
// that the build's worker threads count too. The two steps are reported on
// their own as well: build_ ... for the build, read_ ... for TryResume.

#include "BenchPictures.h"
#include "ScalePuzzles.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace zg {
namespace {

namespace fs = std::filesystem;
using bench::compareSizes;
using bench::Side;

double processNs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

/// A temporary folder, removed with everything in it at the end.
struct TempFolder {
    TempFolder() : path(fs::temp_directory_path() / ("zg-save-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    fs::path path;
};

/// A puzzle of about `pieces` pieces that saves beside a gift in `folder`.
std::unique_ptr<TJigsaw> newPuzzle(Host& host, int32_t pieces, const fs::path& folder) {
    auto jig = std::make_unique<TJigsaw>(host);
    bench::prepareScalePuzzle(*jig, pieces);
    jig->ProgramPath = (folder / ("gift-" + std::to_string(pieces))).string();
    jig->DataHome = "";
    return jig;
}

/// A game in play, saved once so that there is a file to resume.
struct PlayedGame {
    PlayedGame(int32_t size, const fs::path& folder) : pieces(size), jig(newPuzzle(host, size, folder)) {
        jig->Config.RotationOn = true;
        jig->BuildPuzzle(bench::photoPicture(4000, 3000));
        jig->TryResume();
        jig->SetBoardSize(bench::kScaleBoardW, bench::kScaleBoardH);
        const int32_t cols = jig->State.Cols;
        for (std::size_t i = 0; i + 1 < jig->Pieces.size(); i += 4) {
            if (int32_t(i) % cols != cols - 1) {
                TFormPiece& p = *jig->Pieces[i];
                TFormPiece& right = *jig->Pieces[i + 1];
                // Joining needs the same turn; the right-hand piece follows.
                jig->TurnPiece(right, int32_t((p.Rotation - right.Rotation) & 3));
                Rect dirty;
                jig->JoinPieces(right, p, dirty);
            }
        }
        if (!jig->SaveGame()) {
            throw std::runtime_error("the benchmark's game could not be saved");
        }
    }
    int32_t pieces;
    bench::QuietHost host;
    std::unique_ptr<TJigsaw> jig;
};

void BM_SaveAt1kAnd10k(benchmark::State& state) {
    TempFolder folder;
    PlayedGame small(1000, folder.path);
    PlayedGame large(10000, folder.path);
    compareSizes(state, 1, {{}, [&](int64_t) { benchmark::DoNotOptimize(small.jig->SaveGame()); }},
                 {{}, [&](int64_t) { benchmark::DoNotOptimize(large.jig->SaveGame()); }}, "save_ms", 1e6,
                 small.jig->pieceCount(), large.jig->pieceCount());
    state.counters["file_kB_10k"] = double(fs::file_size(folder.path / "gift-10000.sav")) / 1024.0;
}
BENCHMARK(BM_SaveAt1kAnd10k)->Unit(benchmark::kMillisecond);

/// Builds a new puzzle from the picture and resumes the saved game on it;
/// adds the CPU time of the build and of TryResume to `buildNs` and `readNs`.
void resumeOnce(const PlayedGame& game, const fs::path& folder, double& buildNs, double& readNs) {
    bench::QuietHost host;
    const double t0 = processNs();
    auto jig = newPuzzle(host, game.pieces, folder);
    jig->BuildPuzzle(bench::photoPicture(4000, 3000));
    const double t1 = processNs();
    const bool resumed = jig->TryResume();
    const double t2 = processNs();
    if (!resumed) {
        throw std::runtime_error("the benchmark's game was not resumed");
    }
    buildNs += t1 - t0;
    readNs += t2 - t1;
}

void BM_ResumeAt1kAnd10k(benchmark::State& state) {
    TempFolder folder;
    PlayedGame small(1000, folder.path);
    PlayedGame large(10000, folder.path);
    // The saved games stay; the puzzles that made them are not needed.
    small.jig.reset();
    large.jig.reset();
    double smallBuild = 0, smallRead = 0, largeBuild = 0, largeRead = 0;
    int64_t runs = 0;
    for (auto _ : state) {
        resumeOnce(small, folder.path, smallBuild, smallRead);
        resumeOnce(large, folder.path, largeBuild, largeRead);
        ++runs;
    }
    const double ms = 1e6 * double(runs);
    state.counters["1k_resume_ms"] = (smallBuild + smallRead) / ms;
    state.counters["10k_resume_ms"] = (largeBuild + largeRead) / ms;
    state.counters["ratio"] = (largeBuild + largeRead) / (smallBuild + smallRead);
    state.counters["1k_build_ms"] = smallBuild / ms;
    state.counters["10k_build_ms"] = largeBuild / ms;
    state.counters["build_ratio"] = largeBuild / smallBuild;
    state.counters["1k_read_ms"] = smallRead / ms;
    state.counters["10k_read_ms"] = largeRead / ms;
    state.counters["read_ratio"] = largeRead / smallRead;
}
BENCHMARK(BM_ResumeAt1kAnd10k)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zg

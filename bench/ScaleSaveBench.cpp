// Saving and resuming a game at 1,000 and at 10,000 pieces, both sizes
// interleaved in one run, with the ratio of the large puzzle to the small
// one, which may be at most 14 (n log n for ten times the pieces).
//
// The games are played a little first: rotation on (the gift's option), so
// every piece lies turned as the scatter drew it, and every fourth piece joined to its
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
// their own as well: build_ ... for the build, read_ ... for TryResume, and
// parse_ ... for the part of it that reads the file and checks it whole
// (readWholeFile and parseSavedGame, timed apart on the same file).

#include "BenchPictures.h"
#include "ScalePuzzles.h"
#include "files/SaveFiles.h"
#include "files/SavedGame.h"

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

/// A puzzle of about `pieces` pieces that saves beside a gift in `folder`,
/// whose options turn on rotating pieces.
std::unique_ptr<TJigsaw> newPuzzle(Host& host, int32_t pieces, const fs::path& folder) {
    auto jig = std::make_unique<TJigsaw>(host);
    bench::prepareScalePuzzle(*jig, pieces);
    jig->Config.RotationOn = true;
    jig->ProgramPath = (folder / ("gift-" + std::to_string(pieces))).string();
    jig->DataHome = "";
    return jig;
}

/// A game in play, saved once so that there is a file to resume.
struct PlayedGame {
    PlayedGame(int32_t size, const fs::path& folder) : pieces(size), jig(newPuzzle(host, size, folder)) {
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

struct ResumeTimes {
    double build = 0;
    double read = 0;
    double parse = 0;
};

/// Builds a new puzzle from the picture and resumes the saved game on it;
/// adds the CPU times of the build, of TryResume and of reading and checking
/// the file alone to `times`.
void resumeOnce(const PlayedGame& game, const fs::path& folder, ResumeTimes& times) {
    const std::string file = (folder / ("gift-" + std::to_string(game.pieces) + ".sav")).string();
    const double p0 = processNs();
    const auto bytes = readWholeFile(file, std::size_t(64) << 20);
    if (!bytes) {
        throw std::runtime_error("the benchmark's saved game cannot be read");
    }
    benchmark::DoNotOptimize(parseSavedGame(*bytes).Pieces.size());
    times.parse += processNs() - p0;

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
    times.build += t1 - t0;
    times.read += t2 - t1;
}

void BM_ResumeAt1kAnd10k(benchmark::State& state) {
    TempFolder folder;
    PlayedGame small(1000, folder.path);
    PlayedGame large(10000, folder.path);
    // The saved games stay; the puzzles that made them are not needed.
    small.jig.reset();
    large.jig.reset();
    ResumeTimes smallTimes;
    ResumeTimes largeTimes;
    int64_t runs = 0;
    for (auto _ : state) {
        resumeOnce(small, folder.path, smallTimes);
        resumeOnce(large, folder.path, largeTimes);
        ++runs;
    }
    const double ms = 1e6 * double(runs);
    const auto report = [&](const std::string& name, double smallNs, double largeNs) {
        state.counters["1k_" + name + "_ms"] = smallNs / ms;
        state.counters["10k_" + name + "_ms"] = largeNs / ms;
        state.counters[name == "resume" ? "ratio" : name + "_ratio"] = largeNs / smallNs;
    };
    report("resume", smallTimes.build + smallTimes.read, largeTimes.build + largeTimes.read);
    report("build", smallTimes.build, largeTimes.build);
    report("read", smallTimes.read, largeTimes.read);
    report("parse", smallTimes.parse, largeTimes.parse);
}
BENCHMARK(BM_ResumeAt1kAnd10k)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zg

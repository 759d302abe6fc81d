// Building a puzzle from a decoded picture (cut, labelling, masks, atlases,
// colour keys) against decoding the same picture from JPEG, both measured in
// each iteration of the same run, plus the peak memory of one build.
//
// Counters per case: decode_ms and build_ms (means, wall clock: the build
// runs its per-piece steps on `threads` threads, ZG_THREADS sets how many),
// build_per_decode (their ratio), decode_cpu_ms, build_cpu_ms (CPU time of
// every thread) and cpu_per_decode (the work the build does against the
// decode's), main_cpu_ms and main_per_decode (the CPU time of the thread that
// builds, which shares the per-piece steps with the workers: what the build
// would take on a machine with a free core per thread, whatever else runs on
// this one), picture_MB (the decoded picture), peak_MB (resident memory the build
// added on top of the picture it was handed, from the kernel's high-water
// mark) and peak_per_picture ((picture + peak) / picture); cut_cpu_ms, extract_cpu_ms,
// atlas_cpu_ms and colour_cpu_ms split build_cpu_ms into its steps.

#include "BenchPictures.h"
#include "ScalePuzzles.h"
#include "game/SilentHost.h"
#include "game/TJigsaw.h"
#include "gfx/Jpeg.h"
#include "pieces/PieceWorkers.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <malloc.h>

namespace zg {
namespace {

using bench::prepareScalePuzzle;

/// CPU time of the whole process (every thread of a build) in nanoseconds.
double processNs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

/// A silent host that notes when each busy step of a build ends: the cut,
/// the extraction, the atlases and the colour keys each run under the busy
/// cursor, so their ends split the build into its steps. The steps are timed
/// in CPU time of the whole process (every thread), which other programs on
/// a loaded machine do not disturb.
class StepClock : public SilentHost {
public:
    void setCursor(CursorShape shape) override {
        if (shape != CursorShape::Busy) {
            m_ends.push_back(processNs());
        }
    }
    void start() {
        m_ends.clear();
        m_start = processNs();
    }
    /// CPU seconds of step i (0-based), or -1 when the build ran another number of steps.
    double stepSeconds(std::size_t i, std::size_t steps) const {
        if (m_ends.size() != steps || i >= steps) {
            return -1;
        }
        const double from = i == 0 ? m_start : m_ends[i - 1];
        return (m_ends[i] - from) / 1e9;
    }

private:
    double m_start = 0;
    std::vector<double> m_ends;
};

/// A value from /proc/self/status in bytes (its lines read "VmRSS:  1234 kB").
int64_t statusBytes(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stoll(line.substr(prefix.size())) * 1024;
        }
    }
    return -1;
}

/// The resident memory one build adds on top of what the process holds when
/// it starts, the picture it is handed included; -1 when the kernel cannot
/// reset the high-water mark.
int64_t peakBuildBytes(const Bitmap24& picture, int32_t pieces) {
    SilentHost host;
    auto jig = std::make_unique<TJigsaw>(host);
    prepareScalePuzzle(*jig, pieces);
    Bitmap24 handed = picture;
    // Hand freed heap memory back first, so that the build's allocations
    // show as new resident pages even where the allocator reuses addresses.
    malloc_trim(0);
    {
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5";
        if (!clear) {
            return -1;
        }
    }
    const int64_t before = statusBytes("VmRSS");
    jig->BuildPuzzle(std::move(handed));
    return statusBytes("VmHWM") - before;
}

void BM_BuildVersusDecode(benchmark::State& state) {
    const int32_t w = int32_t(state.range(0));
    const int32_t h = int32_t(state.range(1));
    const int32_t pieces = int32_t(state.range(2));
    // A puzzle is built once per process, on fresh pages. Keep the allocator
    // from caching freed large blocks between iterations (its default raises
    // the mmap threshold after each large free), so that every iteration pays
    // for its memory as a real build does, and the peak below counts it.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    const Bitmap24& picture = bench::photoPicture(w, h);
    const std::vector<uint8_t>& jpeg = bench::photoJpeg(w, h);
    const double pictureBytes = double(picture.stride()) * picture.height();
    const int64_t peak = peakBuildBytes(picture, pieces);

    StepClock host;
    constexpr const char* kSteps[] = {"cut_cpu_ms", "extract_cpu_ms", "atlas_cpu_ms", "colour_cpu_ms"};
    constexpr std::size_t kStepCount = std::size(kSteps);
    double stepSeconds[kStepCount] = {};
    bool stepsKnown = true;
    double decodeSeconds = 0;
    double buildSeconds = 0;
    double decodeCpuNs = 0;
    double buildCpuNs = 0;
    double buildMainNs = 0;
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        const double c0 = bench::threadNs();
        const auto t0 = Clock::now();
        Bitmap24 decoded = decodeJpeg(jpeg);
        const auto t1 = Clock::now();
        decodeCpuNs += bench::threadNs() - c0;
        benchmark::DoNotOptimize(decoded.data());

        auto jig = std::make_unique<TJigsaw>(host);
        prepareScalePuzzle(*jig, pieces);
        Bitmap24 handed = picture;
        const double c2 = processNs();
        const double m2 = bench::threadNs();
        const auto t2 = Clock::now();
        host.start();
        jig->BuildPuzzle(std::move(handed));
        const auto t3 = Clock::now();
        buildCpuNs += processNs() - c2;
        buildMainNs += bench::threadNs() - m2;
        for (std::size_t i = 0; i < kStepCount; ++i) {
            const double s = host.stepSeconds(i, kStepCount);
            stepsKnown = stepsKnown && s >= 0;
            stepSeconds[i] += s;
        }
        benchmark::DoNotOptimize(jig->ImageAtlas.data());

        const double decode = std::chrono::duration<double>(t1 - t0).count();
        const double build = std::chrono::duration<double>(t3 - t2).count();
        decodeSeconds += decode;
        buildSeconds += build;
        state.SetIterationTime(build);
    }
    const double n = double(state.iterations());
    state.counters["decode_ms"] = decodeSeconds / n * 1e3;
    state.counters["build_ms"] = buildSeconds / n * 1e3;
    state.counters["build_per_decode"] = buildSeconds / decodeSeconds;
    state.counters["decode_cpu_ms"] = decodeCpuNs / n / 1e6;
    state.counters["build_cpu_ms"] = buildCpuNs / n / 1e6;
    state.counters["cpu_per_decode"] = buildCpuNs / decodeCpuNs;
    state.counters["main_cpu_ms"] = buildMainNs / n / 1e6;
    state.counters["main_per_decode"] = buildMainNs / decodeCpuNs;
    state.counters["threads"] = defaultWorkerCount();
    state.counters["picture_MB"] = pictureBytes / 1e6;
    state.counters["peak_MB"] = double(peak) / 1e6;
    state.counters["peak_per_picture"] = (pictureBytes + double(peak)) / pictureBytes;
    // Where the build's time goes, when its steps could be told apart.
    if (stepsKnown) {
        for (std::size_t i = 0; i < kStepCount; ++i) {
            state.counters[kSteps[i]] = stepSeconds[i] / n * 1e3;
        }
    }
}

BENCHMARK(BM_BuildVersusDecode)
    ->Args({640, 480, 42})
    ->Args({1920, 1080, 500})
    ->Args({4000, 3000, 1000})
    ->Args({4000, 3000, 10000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

/// Quarter-turning every piece of a 1,000-piece puzzle (images, masks and
/// shading sprites in the outline style given as the argument: 0 None,
/// 2 Card, 3 Wood) against building that puzzle, both in each iteration.
/// Counters: build_cpu_ms and rotate_cpu_ms (CPU time of every thread) and
/// rotate_per_build, their ratio.
void BM_RotateAllVersusBuild(benchmark::State& state) {
    const Bitmap24& picture = bench::photoPicture(1920, 1080);
    SilentHost host;
    double buildNs = 0;
    double rotateNs = 0;
    for (auto _ : state) {
        auto jig = std::make_unique<TJigsaw>(host);
        prepareScalePuzzle(*jig, 1000);
        jig->Config.OutlineStyle = int32_t(state.range(0));
        Bitmap24 handed = picture;
        const double t0 = processNs();
        jig->BuildPuzzle(std::move(handed));
        const double t1 = processNs();
        jig->RotatePieces(jig->Pieces, 1, false);
        const double t2 = processNs();
        benchmark::DoNotOptimize(jig->ImageAtlas.data());
        buildNs += t1 - t0;
        rotateNs += t2 - t1;
    }
    const double n = double(state.iterations());
    state.counters["build_cpu_ms"] = buildNs / n / 1e6;
    state.counters["rotate_cpu_ms"] = rotateNs / n / 1e6;
    state.counters["rotate_per_build"] = rotateNs / buildNs;
}
BENCHMARK(BM_RotateAllVersusBuild)->Arg(0)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zg

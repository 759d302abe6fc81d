// Building a puzzle from a decoded picture (cut, labelling, masks, atlases,
// colour keys) against decoding the same picture from JPEG, both measured in
// each iteration of the same run, plus the peak memory of one build.
//
// Counters per case: decode_ms and build_ms (means), build_per_decode (their
// ratio), picture_MB (the decoded picture), peak_MB (resident memory the build
// added on top of the picture it was handed, from the kernel's high-water
// mark) and peak_per_picture ((picture + peak) / picture); cut_ms, extract_ms,
// atlas_ms and colour_ms split build_ms into its steps.

#include "game/SilentHost.h"
#include "game/TJigsaw.h"
#include "gfx/Jpeg.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <malloc.h>

namespace zg {
namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The demo photograph tiled, every other tile mirrored, so that the picture
/// keeps a photograph's detail (and its JPEG its usual entropy) at any size.
Bitmap24 tiledPicture(const Bitmap24& tile, int32_t w, int32_t h) {
    Bitmap24 out(w, h);
    for (int32_t y = 0; y < h; ++y) {
        const int32_t ty =
            (y / tile.height()) % 2 == 0 ? y % tile.height() : tile.height() - 1 - y % tile.height();
        for (int32_t x = 0; x < w; ++x) {
            const int32_t tx =
                (x / tile.width()) % 2 == 0 ? x % tile.width() : tile.width() - 1 - x % tile.width();
            out.setPixel(x, y, tile.pixel(tx, ty));
        }
    }
    return out;
}

std::vector<uint8_t> encodeJpeg(const Bitmap24& picture, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(picture.width());
    cinfo.image_height = JDIMENSION(picture.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(picture.row(int32_t(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

struct Case {
    Bitmap24 picture;
    std::vector<uint8_t> jpeg;
};

const Case& caseFor(int32_t w, int32_t h) {
    static std::map<std::pair<int32_t, int32_t>, std::unique_ptr<Case>> cases;
    auto& slot = cases[{w, h}];
    if (!slot) {
        const std::vector<uint8_t> demo = readFile(std::string(ZG_ASSETS) + "/demo/picture.jpg");
        slot = std::make_unique<Case>();
        slot->picture = tiledPicture(decodeJpeg(demo), w, h);
        slot->jpeg = encodeJpeg(slot->picture, 90);
    }
    return *slot;
}

void prepare(TJigsaw& jig, int32_t pieces) {
    jig.State.Version = 5;
    jig.State.RequestedPieces = int16_t(pieces);
    jig.State.Seed = 1234567;
    jig.State.Style = 1;
    jig.State.Oddness = 5;
    jig.Config.BoardWidth = 1920;
    jig.Config.BoardHeight = 1080;
}

/// A silent host that notes when each busy step of a build ends: the cut,
/// the extraction, the atlases and the colour keys each run under the busy
/// cursor, so their ends split the build into its steps.
class StepClock : public SilentHost {
public:
    using Clock = std::chrono::steady_clock;
    void setCursor(CursorShape shape) override {
        if (shape != CursorShape::Busy) {
            m_ends.push_back(Clock::now());
        }
    }
    void start() {
        m_ends.clear();
        m_start = Clock::now();
    }
    /// Seconds of step i (0-based), or -1 when the build ran another number of steps.
    double stepSeconds(std::size_t i, std::size_t steps) const {
        if (m_ends.size() != steps || i >= steps) {
            return -1;
        }
        const Clock::time_point from = i == 0 ? m_start : m_ends[i - 1];
        return std::chrono::duration<double>(m_ends[i] - from).count();
    }

private:
    Clock::time_point m_start;
    std::vector<Clock::time_point> m_ends;
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
    prepare(*jig, pieces);
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
    const Case& c = caseFor(w, h);
    const double pictureBytes = double(c.picture.stride()) * c.picture.height();
    const int64_t peak = peakBuildBytes(c.picture, pieces);

    StepClock host;
    constexpr const char* kSteps[] = {"cut_ms", "extract_ms", "atlas_ms", "colour_ms"};
    constexpr std::size_t kStepCount = std::size(kSteps);
    double stepSeconds[kStepCount] = {};
    bool stepsKnown = true;
    double decodeSeconds = 0;
    double buildSeconds = 0;
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        const auto t0 = Clock::now();
        Bitmap24 decoded = decodeJpeg(c.jpeg);
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(decoded.data());

        auto jig = std::make_unique<TJigsaw>(host);
        prepare(*jig, pieces);
        Bitmap24 handed = c.picture;
        const auto t2 = Clock::now();
        host.start();
        jig->BuildPuzzle(std::move(handed));
        const auto t3 = Clock::now();
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
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace
} // namespace zg

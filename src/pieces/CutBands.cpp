#include "pieces/CutBands.h"

#include "pieces/PieceWorkers.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace zg {

namespace {

/// Bands are never thinner than this: a stroke crossing into a band is
/// walked again there, which only pays off for bands well over a cell high.
constexpr int32_t kMinBandRows = 16;
/// Bands per thread, so that a thread that was held up is not waited for long.
constexpr int32_t kBandsPerThread = 4;

} // namespace

int32_t rowBandCount(int32_t height, int32_t threads) {
    if (threads <= 1 || height <= kMinBandRows) {
        return 1;
    }
    return std::clamp(height / kMinBandRows, 1, threads * kBandsPerThread);
}

RowBand rowBand(int32_t height, int32_t count, int32_t index) {
    const auto first = int32_t(int64_t(height) * index / count);
    const auto next = int32_t(int64_t(height) * (index + 1) / count);
    return {first, next - 1};
}

void drawStrokes(CutMap& map, std::span<const CutStroke> strokes, int32_t cols, int32_t threads) {
    const int32_t height = map.Height;
    const int32_t count = rowBandCount(height, threads);
    if (count == 1) {
        std::fill(map.Bytes.begin(), map.Bytes.end(), uint8_t(0));
        TBezier plotter(map, cols, 0, height - 1);
        for (const CutStroke& stroke : strokes) {
            plotter.replay(stroke);
        }
        return;
    }
    if (strokes.size() >= UINT32_MAX) {
        throw std::length_error("too many strokes to share out");
    }
    // The band holding row y: the last one whose first row, height * b /
    // count rounded down, is at or above y.
    const auto bandOf = [&](int64_t y) { return int32_t(((y + 1) * count - 1) / height); };
    const auto forBands = [&](const CutStroke& s, auto&& visit) {
        if (s.Bottom < 0 || s.Top >= height) {
            return;
        }
        const int32_t to = bandOf(std::min<int64_t>(s.Bottom, height - 1));
        for (int32_t b = bandOf(std::max<int64_t>(s.Top, 0)); b <= to; ++b) {
            visit(b);
        }
    };
    // Each band's strokes in drawing order, as one list of stroke indices
    // per band laid end to end.
    std::vector<uint32_t> bandStart(std::size_t(count) + 1, 0);
    for (const CutStroke& s : strokes) {
        forBands(s, [&](int32_t b) { ++bandStart[std::size_t(b) + 1]; });
    }
    for (int32_t b = 0; b < count; ++b) {
        bandStart[std::size_t(b) + 1] += bandStart[std::size_t(b)];
    }
    std::vector<uint32_t> order(bandStart.back());
    std::vector<uint32_t> fill(bandStart.begin(), bandStart.end() - 1);
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        forBands(strokes[i], [&](int32_t b) { order[fill[std::size_t(b)]++] = uint32_t(i); });
    }
    forEachPiece(count, threads, [&](int64_t b) {
        const RowBand band = rowBand(height, count, int32_t(b));
        const std::size_t width = std::size_t(map.Width);
        std::memset(map.Bytes.data() + std::size_t(band.First) * width, 0,
                    std::size_t(band.Last - band.First + 1) * width);
        TBezier plotter(map, cols, band.First, band.Last);
        for (uint32_t k = bandStart[std::size_t(b)]; k < bandStart[std::size_t(b) + 1]; ++k) {
            plotter.replay(strokes[order[k]]);
        }
    });
}

} // namespace zg

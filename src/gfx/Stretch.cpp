#include "gfx/Stretch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zg {

namespace {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;
/// Extra bits kept between the vertical and the horizontal pass.
constexpr int kMidBits = 6;

/// The source pixels that make up one target pixel along one axis.
struct Taps {
    int32_t First = 0;
    std::vector<int32_t> Weights; ///< sum to kWeightOne
};

std::vector<Taps> makeTaps(int32_t from, int32_t to) {
    std::vector<Taps> taps(static_cast<std::size_t>(to));
    const double scale = double(from) / double(to);
    for (int32_t i = 0; i < to; ++i) {
        Taps& t = taps[std::size_t(i)];
        std::vector<double> w;
        if (to < from) {
            // Shrinking: every source pixel counts by how much of it the
            // target pixel covers.
            const double lo = i * scale;
            const double hi = (i + 1) * scale;
            const int32_t first = int32_t(std::floor(lo));
            const int32_t last = std::min(from - 1, int32_t(std::ceil(hi)) - 1);
            t.First = first;
            for (int32_t s = first; s <= last; ++s) {
                w.push_back(std::min<double>(hi, s + 1) - std::max<double>(lo, s));
            }
        } else {
            // Growing: linear interpolation between the two nearest centres.
            const double centre = std::clamp((i + 0.5) * scale - 0.5, 0.0, double(from - 1));
            const int32_t first = std::min(int32_t(centre), from - 1);
            const double frac = centre - first;
            t.First = first;
            w.push_back(1.0 - frac);
            if (first + 1 < from) {
                w.push_back(frac);
            }
        }
        double sum = 0;
        for (double v : w) {
            sum += v;
        }
        int32_t given = 0;
        for (double v : w) {
            const int32_t q = int32_t(std::lround(v / sum * kWeightOne));
            t.Weights.push_back(q);
            given += q;
        }
        // Rounding must not change the brightness: the largest tap takes the rest.
        auto biggest = std::max_element(t.Weights.begin(), t.Weights.end());
        *biggest += kWeightOne - given;
    }
    return taps;
}

} // namespace

Bitmap24 stretchBitmap(const Bitmap24& source, int32_t width, int32_t height) {
    Bitmap24 out(width, height);
    if (source.isEmpty() || out.isEmpty()) {
        return out;
    }
    if (width == source.width() && height == source.height()) {
        return source;
    }
    const std::vector<Taps> columns = makeTaps(source.width(), width);
    const std::vector<Taps> rows = makeTaps(source.height(), height);
    const std::size_t srcBytes = std::size_t(source.width()) * 3;
    std::vector<uint32_t> acc(srcBytes);
    std::vector<uint32_t> mid(srcBytes);
    for (int32_t y = 0; y < height; ++y) {
        const Taps& ty = rows[std::size_t(y)];
        std::fill(acc.begin(), acc.end(), 0u);
        for (std::size_t k = 0; k < ty.Weights.size(); ++k) {
            const uint8_t* s = source.row(ty.First + int32_t(k));
            const uint32_t w = uint32_t(ty.Weights[k]);
            for (std::size_t b = 0; b < srcBytes; ++b) {
                acc[b] += w * s[b];
            }
        }
        constexpr int midShift = kWeightBits - kMidBits;
        for (std::size_t b = 0; b < srcBytes; ++b) {
            mid[b] = (acc[b] + (1u << (midShift - 1))) >> midShift;
        }
        uint8_t* d = out.row(y);
        constexpr int outShift = kWeightBits + kMidBits;
        for (int32_t x = 0; x < width; ++x) {
            const Taps& tx = columns[std::size_t(x)];
            uint32_t b0 = 0, b1 = 0, b2 = 0;
            const uint32_t* m = mid.data() + std::size_t(tx.First) * 3;
            for (std::size_t k = 0; k < tx.Weights.size(); ++k, m += 3) {
                const uint32_t w = uint32_t(tx.Weights[k]);
                b0 += w * m[0];
                b1 += w * m[1];
                b2 += w * m[2];
            }
            constexpr uint32_t half = 1u << (outShift - 1);
            d[3 * x] = uint8_t(std::min<uint32_t>(255, (b0 + half) >> outShift));
            d[3 * x + 1] = uint8_t(std::min<uint32_t>(255, (b1 + half) >> outShift));
            d[3 * x + 2] = uint8_t(std::min<uint32_t>(255, (b2 + half) >> outShift));
        }
    }
    return out;
}

} // namespace zg

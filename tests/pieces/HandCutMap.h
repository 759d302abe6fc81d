#pragma once

// Hand-drawn cut maps for the labelling tests: straight cut lines on an even
// grid, each drawn with the pen of the cell that owns it, as the cutter draws
// Square pieces without jitter: a cell owns its lower and right edge, the
// first row the top border, the first column the left border, the last row
// and column the bottom and right borders.

#include "pieces/CutMap.h"

#include <cstdint>
#include <random>

namespace zg::test {

/// Makes `map` w x h with each pixel, in raster order, a line of a random pen
/// with a chance of `density` percent and open otherwise.
inline void fillRandomLines(CutMap& map, int32_t w, int32_t h, unsigned density, std::mt19937& gen) {
    map.reset(w, h);
    for (uint8_t& b : map.Bytes) {
        b = (gen() % 100) < density ? uint8_t(0x10 + gen() % 16) : 0;
    }
}

inline void drawHLine(CutMap& map, int32_t x0, int32_t x1, int32_t y, uint8_t pen) {
    for (int32_t x = x0; x <= x1; ++x) {
        map.at(x, y) = pen;
    }
}

inline void drawVLine(CutMap& map, int32_t x, int32_t y0, int32_t y1, uint8_t pen) {
    for (int32_t y = y0; y <= y1; ++y) {
        map.at(x, y) = pen;
    }
}

/// A w x h map cut into cols x rows square cells at W*j div cols and H*i div
/// rows (W - 1 and H - 1 on the far borders), with seeds in the cells' middles.
inline void drawSquareCut(CutMap& map, SeedTable& seeds, int32_t w, int32_t h, int32_t cols, int32_t rows) {
    map.reset(w, h);
    seeds.reset(cols, rows);
    const auto xAt = [&](int32_t j) { return j == cols ? w - 1 : w * j / cols; };
    const auto yAt = [&](int32_t i) { return i == rows ? h - 1 : h * i / rows; };
    for (int32_t i = 1; i <= rows; ++i) {
        for (int32_t j = 1; j <= cols; ++j) {
            const uint8_t pen = cellPen(j - 1, i - 1);
            const int32_t xl = xAt(j - 1), xr = xAt(j), yt = yAt(i - 1), yb = yAt(i);
            if (i == 1) {
                drawHLine(map, j == 1 ? 1 : xl + 1, xr, 0, pen);
            }
            if (j == 1) {
                drawVLine(map, 0, yt, yb, pen);
            }
            if (i == rows) {
                drawHLine(map, xl, xr, yb, pen);
            } else {
                drawHLine(map, xl + 1, xr, yb, pen);
            }
            if (j == cols) {
                drawVLine(map, w - 1, yt, yb, pen);
            } else {
                drawVLine(map, xr, yt, yb, pen);
            }
            seeds.at(j - 1, i - 1) = {xl + (xr - xl + 1) / 2, yt + (yb - yt + 1) / 2};
        }
    }
}

} // namespace zg::test

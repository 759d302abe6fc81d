#include "game/ArrangeLayout.h"

#include <algorithm>
#include <array>

namespace zg {

namespace {

/// A band thickness rounded down to an even number of cells (one half on each
/// side of the hole), never below 2.
int32_t bandThickness(int64_t cells) {
    return cells >= 2 ? int32_t(std::min<int64_t>(cells, INT32_MAX) & ~int64_t(1)) : 2;
}

// Directions: 0 up, 1 right, 2 down, 3 left.
constexpr std::array<int32_t, 4> kStepX{0, 1, 0, -1};
constexpr std::array<int32_t, 4> kStepY{-1, 0, 1, 0};
constexpr std::array<int32_t, 4> kNext{1, 2, 3, 0};
/// How much shorter a run is when the band it turns into is not used up: the
/// corner cells belong to the runs before it.
constexpr std::array<int32_t, 4> kRunAdjust{-2, 0, -1, -1};

/// The ring walk: run lengths and band thicknesses per direction, shrinking
/// ring by ring.
class RingWalk {
public:
    explicit RingWalk(const EdgeLayout& l)
        : m_len{l.Rows, l.Cols, l.Rows, l.Cols}, m_th{l.BandX, l.BandY, l.BandX, l.BandY} {}

    int32_t runLength(int32_t d) const {
        const auto i = std::size_t(d);
        return m_th[std::size_t(kNext[i])] > 0 ? m_len[i] + kRunAdjust[i] : m_len[i];
    }
    int32_t turn(int32_t d) {
        const int32_t next = kNext[std::size_t(d)];
        if (next == 1) {
            // Back at the top: the ring is complete and the next one lies inside.
            for (std::size_t k = 0; k < 4; ++k) {
                const auto band = std::size_t(kNext[k]);
                if (m_th[band] > 0) {
                    m_len[k] -= 2;
                }
                m_th[band] -= 2;
            }
        }
        return next;
    }
    int32_t thickness(int32_t d) const { return m_th[std::size_t(d)]; }

private:
    std::array<int32_t, 4> m_len;
    std::array<int32_t, 4> m_th;
};

} // namespace

EdgeLayout chooseEdgeLayout(int32_t width, int32_t height, int32_t pieceWidth, int32_t scaledWidth,
                            int32_t scaledHeight, int32_t count) {
    EdgeLayout layout;
    const int32_t big = pieceWidth * 5 / 4;
    const int32_t small = pieceWidth * 3 / 4;
    for (int32_t i = big; i >= 1; --i) {
        const int32_t cols = width / i;
        const int32_t rows = height / i;
        int64_t tx = 0;
        int64_t ty = 0;
        if (i < small) {
            // Small cells: the hole shrinks with them.
            tx = (width - int64_t(i) * scaledWidth / big) / i;
            ty = (height - int64_t(i) * scaledHeight / big) / i;
        } else {
            tx = (int64_t(width) - i - scaledWidth) / i;
            ty = (int64_t(height) - i - scaledHeight) / i;
        }
        layout = {i, cols, rows, bandThickness(tx), bandThickness(ty), 0, 0};
        // Without a column or a row there is no cell to count or to divide by.
        if (cols >= 1 && rows >= 1 &&
            int64_t(layout.BandY) * cols + int64_t(rows - layout.BandY) * layout.BandX >= count) {
            break;
        }
    }
    if (layout.Cols < 1 || layout.Rows < 1) {
        layout.Cols = 0;
        layout.Rows = 0;
        return layout;
    }
    layout.CellWidth = width / layout.Cols;
    layout.CellHeight = height / layout.Rows;
    return layout;
}

std::vector<Point> edgeCells(const EdgeLayout& layout, int32_t count) {
    std::vector<Point> cells;
    cells.reserve(std::size_t(std::max(count, 0)));
    if (layout.Cols < 1 || layout.Rows < 1) {
        cells.assign(std::size_t(std::max(count, 0)), Point{0, 0});
        return cells;
    }
    RingWalk walk(layout);
    int32_t x = 0;
    int32_t y = 0;
    int32_t d = 1;
    int32_t run = walk.runLength(d);
    for (int32_t k = 0; k < count; ++k) {
        cells.push_back({layout.CellWidth * x, layout.CellHeight * y});
        run -= 1;
        if (run >= 1) {
            x += kStepX[std::size_t(d)];
            y += kStepY[std::size_t(d)];
            continue;
        }
        d = walk.turn(d);
        run = walk.runLength(d);
        if (walk.thickness(d) < 1) {
            // This band is used up: cross it and turn again.
            x += kStepX[std::size_t(d)] * run;
            y += kStepY[std::size_t(d)] * run;
            d = walk.turn(d);
            run = walk.runLength(d);
        } else {
            x += kStepX[std::size_t(d)];
            y += kStepY[std::size_t(d)];
        }
    }
    return cells;
}

GridLayout chooseGridLayout(int32_t width, int32_t height, int32_t pieceWidth, int32_t count) {
    for (int32_t e = pieceWidth * 3 / 2; e >= 1; --e) {
        const int32_t cols = width / e;
        if (cols >= 1 && int64_t(height) * cols / e >= count) {
            return {e, cols};
        }
    }
    // Nothing holds them all: the smallest cells, one pixel apart.
    return {1, std::max(width, 1)};
}

} // namespace zg

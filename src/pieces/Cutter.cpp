#include "pieces/Cutter.h"

#include "host/Host.h"
#include "pieces/CutBands.h"
#include "pieces/CutRepair.h"
#include "pieces/TBezier.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

namespace zg {

namespace {

/// Oddness is stored as 0..10; the generator works with ten times that.
constexpr int32_t kOddnessScale = 10;
constexpr int32_t kMaxOddness = 10;
/// Lines and curves a cell draws at most for its two edges, Star with its
/// four lines each, plus a border or two.
constexpr std::size_t kStrokesPerCell = 10;
/// The older generator divides every shape parameter by this.
constexpr int64_t kOlderDivisor = 200;

/// A logical right shift of a value that is non-negative for any sane cut;
/// a negative one (a degenerate grid) counts as 0 instead of turning huge.
constexpr int64_t shr(int64_t v, int bits) {
    return v > 0 ? v >> bits : 0;
}

/// Divisor of the jitter and shape ranges of the current generator.
int64_t styleDivisor(int32_t style) {
    switch (style) {
    case kStyleClassic:
        return 210;
    case kStyleRound:
        return 230;
    case kStyleMix:
        return 220;
    default:
        return 200;
    }
}

/// The Mix style's choice for one edge, from one draw of range 100.
int32_t mixEdgeStyle(RandomGenerator& rng) {
    const uint32_t r = rng.Random(100);
    if (r < 6) {
        return kStyleRound;
    }
    if (r < 10) {
        return kStyleStar;
    }
    if (r < 16) {
        return kStyleSquare;
    }
    if (r < 20) {
        return kStyleBlip;
    }
    return kStyleClassic;
}

class CutGenerator {
public:
    CutGenerator(TBezier& plotter, SeedTable& seeds, const CutParams& params, RandomGenerator& rng,
                 ProgressReporter* progress, CutTrace* trace)
        : m_seeds(seeds), m_rng(rng), m_progress(progress), m_trace(trace), m_plotter(plotter),
          m_width(params.Width), m_height(params.Height), m_cols(params.Cols), m_rows(params.Rows),
          m_style(clampStyle(params.Style)),
          m_odd(std::clamp(params.Oddness, 0, kMaxOddness) * kOddnessScale) {}

    void runCurrent();
    void runOlder();

private:
    /// A draw of range n for a signed n; n <= 0 draws range 0, which keeps the order of draws.
    int64_t draw(int64_t n) { return m_rng.randomRange(n); }
    /// The current generator's corner jitter of range m, its upper side cut short.
    int64_t jitter(int64_t m);
    /// The shoulder and knob parameters of one edge: two draws of range 2*D.
    void shoulders(int64_t size, int64_t divisor, int32_t& shoulder1, int32_t& knob1, int32_t& shoulder2,
                   int32_t& knob2);
    /// Draws one of the cell's own edges and returns the style it was drawn in.
    int32_t drawCellEdge(EdgeKind kind, Point from, Point to);
    void drawBorders(int32_t i, int32_t j, int32_t xt, int32_t xl, int32_t x, int32_t y, int32_t topY,
                     const std::vector<int32_t>& px, const std::vector<int32_t>& py);
    void setSeed(int32_t i, int32_t j, int64_t x, int64_t y);
    void finishCell(int32_t i, int32_t j, const CutCellRecord& record);

    SeedTable& m_seeds;
    RandomGenerator& m_rng;
    ProgressReporter* m_progress;
    CutTrace* m_trace;
    TBezier& m_plotter;
    const int64_t m_width;
    const int64_t m_height;
    const int32_t m_cols;
    const int32_t m_rows;
    const int32_t m_style;
    const int64_t m_odd;
    EdgeShape m_shape;
    bool m_older = false;
};

int64_t CutGenerator::jitter(int64_t m) {
    m = std::max<int64_t>(m, 0);
    int64_t limit = m;
    if (m_style == kStyleClassic || m_style == kStyleBlip || m_style == kStyleMix) {
        limit = m * 7 / 8;
    } else if (m_style == kStyleRound) {
        limit = m * 3 / 4;
    }
    return std::min(draw(m), limit) - shr(m, 1);
}

void CutGenerator::shoulders(int64_t size, int64_t divisor, int32_t& shoulder1, int32_t& knob1,
                             int32_t& shoulder2, int32_t& knob2) {
    const int64_t d = m_odd * shr(size, 1) / divisor;
    int64_t e = draw(2 * d) - d;
    int64_t s1 = shr(size, 1) + e;
    knob1 = int32_t(shr(size, 2) - e);
    e = draw(2 * d) - d;
    int64_t s2 = shr(size, 1) + e;
    knob2 = int32_t(shr(size, 2) - e);
    // Shoulders that would overlap are scaled down to the edge's length. The
    // second one is scaled with the first already scaled, as cuts have always
    // been made, so that the same seed keeps giving the same shapes.
    if (size < s1 + s2 && s1 + s2 != 0) {
        s1 = size * s1 / (s1 + s2);
        if (s1 + s2 != 0) {
            s2 = size * s2 / (s1 + s2);
        }
    }
    shoulder1 = int32_t(s1);
    shoulder2 = int32_t(s2);
}

int32_t CutGenerator::drawCellEdge(EdgeKind kind, Point from, Point to) {
    if (m_older) {
        drawEdge(m_plotter, kStyleClassic, kind, m_shape, from, to, false);
        return kStyleClassic;
    }
    const int32_t style = m_style == kStyleMix ? mixEdgeStyle(m_rng) : m_style;
    drawEdge(m_plotter, style, kind, m_shape, from, to, true);
    return style;
}

void CutGenerator::drawBorders(int32_t i, int32_t j, int32_t xt, int32_t xl, int32_t x, int32_t y,
                               int32_t topY, const std::vector<int32_t>& px, const std::vector<int32_t>& py) {
    // Only the top, bottom, left and right borders; with a single row the
    // bottom border and with a single column the right border is left open,
    // and the pieces still fill to the map's edge.
    if (i == 1) {
        m_plotter.segment(xt + 1, 0, px[std::size_t(j)], 0);
    } else if (i == m_rows) {
        m_plotter.segment(xl, y, x, y);
    }
    const auto w1 = int32_t(m_width - 1);
    if (j == 1) {
        m_plotter.segment(0, m_older ? topY : py[1], 0, y);
    } else if (j == m_cols) {
        m_plotter.segment(w1, m_older ? topY : py[std::size_t(m_cols)], w1, y);
    }
}

void CutGenerator::setSeed(int32_t i, int32_t j, int64_t x, int64_t y) {
    // A degenerate grid (more cells than pixels) can put the middle of a cell
    // outside the picture; keep every seed on the map.
    x = std::clamp<int64_t>(x, 0, m_width - 1);
    y = std::clamp<int64_t>(y, 0, m_height - 1);
    m_seeds.at(j - 1, i - 1) = Point{int32_t(x), int32_t(y)};
}

void CutGenerator::finishCell(int32_t i, int32_t j, const CutCellRecord& record) {
    if (m_trace != nullptr) {
        m_trace->push_back(record);
    }
    if (m_progress != nullptr) {
        m_progress->step(int64_t(i - 1) * m_cols + j);
    }
}

void CutGenerator::runCurrent() {
    const int64_t h = styleDivisor(m_style);
    // Per column, the lower corner of the cell above (the top border on row 1).
    std::vector<int32_t> px(std::size_t(m_cols) + 1, 0);
    std::vector<int32_t> py(std::size_t(m_cols) + 1, 0);

    for (int32_t i = 1; i <= m_rows; ++i) {
        int32_t xl = 0; // x of the cell's lower-left corner
        int32_t xt = 0; // x of the previous column's upper corner
        int32_t yl = 0; // y of the previous column's lower corner
        for (int32_t j = 1; j <= m_cols; ++j) {
            const auto col = std::size_t(j);
            CutCellRecord record;

            // Lower corner y.
            int64_t y = m_height - 1;
            if (i < m_rows) {
                const int64_t grid = m_height * i / m_rows;
                y = grid;
                if (m_odd > 10) {
                    y += jitter((grid - py[col] + 1) * m_odd / h);
                }
            }
            const int64_t t = y - py[col] + 1;
            m_shape.T3 = int32_t(t / 3);
            m_shape.sy = int32_t(shr(t, 2));

            // Lower corner x; on row 1 the top border's corner gets its own draw.
            int64_t x = m_width - 1;
            if (j == m_cols) {
                if (i == 1) {
                    px[col] = int32_t(m_width - 1);
                }
            } else {
                const int64_t grid = m_width * j / m_cols;
                x = grid;
                if (m_odd > 10) {
                    const int64_t m = (grid - xl + 1) * m_odd / h;
                    if (i == 1) {
                        px[col] = int32_t(grid + jitter(m));
                    }
                    x += jitter(m);
                } else if (i == 1) {
                    px[col] = int32_t(x);
                }
            }
            const int64_t a = x - xl + 1;
            m_shape.W3 = int32_t(a / 3);
            m_shape.sx = int32_t(shr(a, 2));

            shoulders(a, h, m_shape.c1, m_shape.d1, m_shape.c2, m_shape.d2);
            shoulders(t, h, m_shape.a1, m_shape.b1, m_shape.a2, m_shape.b2);

            if (m_odd > 0) {
                if (draw(2) == 0) {
                    m_shape.sx = -m_shape.sx;
                    record.FlipX = true;
                }
                if (draw(2) != 0) {
                    m_shape.sy = -m_shape.sy;
                    record.FlipY = true;
                }
            }
            // Round pieces whose own two edges both bow inward would get too
            // thin: shallower bows.
            if (m_style == kStyleRound && m_shape.sy < 0 && m_shape.sx < 0) {
                m_shape.sx = m_shape.sx * 2 / 3;
                m_shape.sy = m_shape.sy * 2 / 3;
            }

            m_plotter.setPen(cellPen(j - 1, i - 1));
            const auto cx = int32_t(x);
            const auto cy = int32_t(y);
            drawBorders(i, j, xt, xl, cx, cy, 0, px, py);
            if (j == 1) {
                yl = cy;
            }
            if (i < m_rows) {
                record.HorizontalStyle = drawCellEdge(EdgeKind::Horizontal, {xl + 1, yl}, {cx, cy});
            }
            if (j < m_cols) {
                record.VerticalStyle = drawCellEdge(EdgeKind::Vertical, {px[col], py[col]}, {cx, cy});
            }
            setSeed(i, j, xl + shr(a, 1), py[col] + shr(t, 1));

            record.Corner = {cx, cy};
            xt = px[col];
            px[col] = cx;
            py[col] = cy;
            xl = cx;
            yl = cy;
            finishCell(i, j, record);
        }
    }
}

void CutGenerator::runOlder() {
    m_older = true;
    std::vector<int32_t> px(std::size_t(m_cols) + 1, 0);
    const std::vector<int32_t> unusedPy(std::size_t(m_cols) + 1, 0);
    int64_t ytop = 0;

    for (int32_t i = 1; i <= m_rows; ++i) {
        // One boundary per row, shared by its cells. The last row stays on the
        // picture's bottom line (a jittered one would leave the border).
        int64_t y = m_height - 1;
        if (i < m_rows) {
            const int64_t grid = m_height * i / m_rows;
            y = grid;
            if (m_odd > 10) {
                const int64_t f = (grid - ytop + 1) / 3;
                y += draw(f) - shr(f, 1);
            }
        }
        const int64_t t = y - ytop + 1;
        m_shape.T3 = int32_t(t / 3);
        // Set once per row: its sign carries over from cell to cell.
        m_shape.sy = int32_t(shr(t, 2));

        int32_t xl = 0;
        int32_t xt = 0;
        for (int32_t j = 1; j <= m_cols; ++j) {
            const auto col = std::size_t(j);
            CutCellRecord record;

            // The last column stays on the picture's right line.
            int64_t x = m_width - 1;
            if (j < m_cols) {
                x = m_width * j / m_cols;
                if (m_odd > 10) {
                    const int64_t u = m_odd * (x - xl + 1) / kOlderDivisor;
                    x += draw(u) - shr(u, 1);
                }
            }
            if (i == 1) {
                px[col] = int32_t(x);
            }
            const int64_t a = x - xl + 1;
            m_shape.W3 = int32_t(a / 3);
            m_shape.sx = int32_t(shr(a, 2));

            shoulders(a, kOlderDivisor, m_shape.c1, m_shape.d1, m_shape.c2, m_shape.d2);
            shoulders(t, kOlderDivisor, m_shape.a1, m_shape.b1, m_shape.a2, m_shape.b2);

            if (m_odd > 0) {
                if (draw(2) == 0) {
                    m_shape.sx = -m_shape.sx;
                    record.FlipX = true;
                }
                if (draw(4) != 0) {
                    m_shape.sy = -m_shape.sy;
                    record.FlipY = true;
                }
            }

            m_plotter.setPen(cellPen(j - 1, i - 1));
            const auto cx = int32_t(x);
            const auto cy = int32_t(y);
            const auto top = int32_t(ytop);
            drawBorders(i, j, xt, xl, cx, cy, top, px, unusedPy);
            if (i < m_rows) {
                record.HorizontalStyle = drawCellEdge(EdgeKind::Horizontal, {xl + 1, cy}, {cx, cy});
            }
            if (j < m_cols) {
                record.VerticalStyle = drawCellEdge(EdgeKind::Vertical, {px[col], top}, {cx, cy});
            }
            setSeed(i, j, xl + shr(a, 1), ytop + shr(t, 1));

            record.Corner = {cx, cy};
            xt = px[col];
            px[col] = cx;
            xl = cx;
            finishCell(i, j, record);
        }
        ytop = y;
    }
}

} // namespace

void cutPuzzle(CutMap& map, SeedTable& seeds, const CutParams& params, RandomGenerator& rng, Host* host,
               CutTrace* trace, OpenRuns* openRuns, int32_t threads) {
    if (params.Width < 1 || params.Height < 1 || params.Cols < 1 || params.Rows < 1) {
        throw std::invalid_argument("cutPuzzle: picture size and grid must be at least 1");
    }
    std::optional<BusyScope> busy;
    std::optional<ProgressReporter> progress;
    if (host != nullptr) {
        busy.emplace(*host);
        progress.emplace(*host, "Generating: ", int64_t(params.Cols) * int64_t(params.Rows));
    }
    seeds.reset(params.Cols, params.Rows);

    // On one thread the lines go straight into the map. On more, the
    // generator only records them, its draws staying in their one order, and
    // bands of rows then draw them side by side.
    // The bands also clear their rows of the map, so it is not cleared here.
    const bool banded = rowBandCount(params.Height, threads) > 1;
    std::vector<CutStroke> strokes;
    std::optional<TBezier> plotter;
    if (banded) {
        map.resetUnwritten(params.Width, params.Height);
        // About as many strokes as a cell of the busiest style draws.
        strokes.reserve(std::size_t(params.Cols) * std::size_t(params.Rows) * kStrokesPerCell + 16);
        plotter.emplace(strokes, params.Width, params.Cols);
    } else {
        map.reset(params.Width, params.Height);
        plotter.emplace(map, params.Cols);
    }
    CutGenerator generator(*plotter, seeds, params, rng, progress ? &*progress : nullptr, trace);
    if (usesOlderGenerator(params.Version)) {
        generator.runOlder();
    } else {
        generator.runCurrent();
    }
    if (banded) {
        drawStrokes(map, strokes, params.Cols, threads);
        strokes = std::vector<CutStroke>();
    }
    repairHoles(map, threads);
    OpenRuns runs(map, threads);
    claimRegions(map, seeds, runs);
    if (openRuns != nullptr) {
        *openRuns = std::move(runs);
    }
}

} // namespace zg

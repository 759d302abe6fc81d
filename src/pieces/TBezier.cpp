#include "pieces/TBezier.h"

#include "pieces/ByteRuns.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zg {

namespace {

/// Calls plot(x, y) for every pixel of the Bresenham line from (x0, y0) to
/// (x1, y1), both ends included, from the first end on.
template <class Plot> void walkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Plot&& plot) {
    const int64_t dx = x1 - x0;
    const int64_t dy = y1 - y0;
    const int64_t stepX = dx > 0 ? 1 : -1;
    const int64_t stepY = dy > 0 ? 1 : -1;
    const int64_t lenX = dx < 0 ? -dx : dx;
    const int64_t lenY = dy < 0 ? -dy : dy;
    int64_t cx = x0;
    int64_t cy = y0;
    if (lenY < lenX) { // equal lengths run along y
        int64_t error = 2 * lenY - lenX;
        for (int64_t n = 0;; ++n) {
            plot(cx, cy);
            if (n == lenX) {
                return;
            }
            cx += stepX;
            if (error >= 0) {
                cy += stepY;
                error += 2 * (lenY - lenX);
            } else {
                error += 2 * lenY;
            }
        }
    }
    int64_t error = 2 * lenX - lenY;
    for (int64_t n = 0;; ++n) {
        plot(cx, cy);
        if (n == lenY) {
            return;
        }
        cy += stepY;
        if (error >= 0) {
            cx += stepX;
            error += 2 * (lenX - lenY);
        } else {
            error += 2 * lenX;
        }
    }
}

/// roundHalfEven of x and y at once, for values whose truncation fits 32
/// bits (false otherwise, NaN included, and `p` is left alone): the same
/// steps on both lanes of a vector.
bool roundPairHalfEven(double x, double y, Point& p) {
#if defined(__SSE2__)
    const __m128d v = _mm_set_pd(y, x);
    const __m128d limit = _mm_set1_pd(2147483647.0);
    const __m128d inRange =
        _mm_and_pd(_mm_cmplt_pd(v, limit), _mm_cmpgt_pd(v, _mm_sub_pd(_mm_setzero_pd(), limit)));
    if (_mm_movemask_pd(inRange) != 3) {
        return false;
    }
    const __m128d truncated = _mm_cvtepi32_pd(_mm_cvttpd_epi32(v)); // toward zero
    const __m128d down = _mm_sub_pd(truncated, _mm_and_pd(_mm_cmpgt_pd(truncated, v), _mm_set1_pd(1.0)));
    const __m128d fraction = _mm_sub_pd(v, down);
    const __m128d half = _mm_set1_pd(0.5);
    const __m128i whole = _mm_cvttpd_epi32(down); // exact
    // Odd wholes as masks over 64-bit lanes, to meet the fraction tests.
    const __m128i oddBits = _mm_and_si128(whole, _mm_set1_epi32(1));
    const __m128i odd = _mm_cmpeq_epi32(_mm_unpacklo_epi32(oddBits, oddBits), _mm_set1_epi32(1));
    const __m128d up = _mm_or_pd(_mm_cmpgt_pd(fraction, half),
                                 _mm_and_pd(_mm_cmpeq_pd(fraction, half), _mm_castsi128_pd(odd)));
    // Back to 32-bit lanes: a mask of -1 adds one.
    const __m128i rounded =
        _mm_sub_epi32(whole, _mm_shuffle_epi32(_mm_castpd_si128(up), _MM_SHUFFLE(3, 1, 2, 0)));
    p = {_mm_cvtsi128_si32(rounded), _mm_cvtsi128_si32(_mm_srli_si128(rounded, 4))};
    return true;
#else
    (void)x;
    (void)y;
    (void)p;
    return false;
#endif
}

} // namespace

TBezier::TBezier(CutMap& map, int32_t cols) : m_map(&map) {
    // A fresh map is zero already; reading it is cheaper than writing it again.
    const std::size_t size = map.Bytes.size();
    if (byteruns::findOtherByte(map.Bytes.data(), 0, size, 0) != size) {
        std::fill(map.Bytes.begin(), map.Bytes.end(), uint8_t(0));
    }
    m_lastRow = int64_t(map.Height) - 1;
    setUp(map.Width, cols);
}

TBezier::TBezier(Bitmap24& canvas, int32_t width, int32_t cols) : m_canvas(&canvas) {
    setUp(width, cols);
}

TBezier::TBezier(std::vector<CutStroke>& strokes, int32_t width, int32_t cols) : m_strokes(&strokes) {
    setUp(width, cols);
}

TBezier::TBezier(CutMap& map, int32_t cols, int32_t firstRow, int32_t lastRow)
    : m_map(&map), m_firstRow(std::max(firstRow, 0)), m_lastRow(std::min<int64_t>(lastRow, map.Height - 1)) {
    setUp(map.Width, cols);
}

void TBezier::setUp(int32_t width, int32_t cols) {
    const int32_t divisor = std::max(cols, 1);
    m_steps = std::clamp((std::max(width, 0) / divisor) / 2, 1, kMaxSteps);

    // C(n, i) * t^i * (1 - t)^(n - i), by repeated multiplication so the table
    // is the same on every platform.
    for (int32_t n = 1; n <= kMaxDegree; ++n) {
        for (int32_t i = 0; i <= n; ++i) {
            double binomial = 1.0;
            for (int32_t f = 1; f <= i; ++f) {
                binomial = binomial * double(n - i + f) / double(f);
            }
            for (int32_t k = 0; k <= kMaxSteps; ++k) {
                const double t = double(k) / double(m_steps);
                double w = binomial;
                for (int32_t p = 0; p < i; ++p) {
                    w *= t;
                }
                for (int32_t p = 0; p < n - i; ++p) {
                    w *= 1.0 - t;
                }
                m_weights[n][i][k] = w;
            }
        }
    }
}

void TBezier::plotColor(int64_t x, int64_t y) {
    if (m_canvas != nullptr && x >= 0 && y >= 0 && x < m_canvas->width() && y < m_canvas->height()) {
        m_canvas->setPixel(int32_t(x), int32_t(y), m_color);
    }
}

void TBezier::record(std::span<const Point> points, bool line) {
    CutStroke stroke;
    stroke.Count = uint8_t(points.size());
    stroke.Line = line;
    stroke.Pen = m_pen;
    int32_t top = points[0].Y;
    int32_t bottom = points[0].Y;
    for (std::size_t i = 0; i < points.size(); ++i) {
        stroke.Points[i] = points[i];
        top = std::min(top, points[i].Y);
        bottom = std::max(bottom, points[i].Y);
    }
    // A curve's points are weighted means of its control points, so they stay
    // within the control points' rows; one row more each way costs nothing.
    stroke.Top = top == INT32_MIN ? top : top - 1;
    stroke.Bottom = bottom == INT32_MAX ? bottom : bottom + 1;
    m_strokes->push_back(stroke);
}

void TBezier::replay(const CutStroke& stroke) {
    setPen(stroke.Pen);
    if (stroke.Line) {
        segment(stroke.Points[0].X, stroke.Points[0].Y, stroke.Points[1].X, stroke.Points[1].Y);
    } else {
        curve(std::span<const Point>(stroke.Points.data(), stroke.Count));
    }
}

void TBezier::lineTo(int32_t x, int32_t y) {
    if (m_strokes != nullptr) {
        const Point line[] = {{m_x, m_y}, {x, y}};
        record(line, true);
        m_x = x;
        m_y = y;
        return;
    }
    if (m_map != nullptr) {
        uint8_t* const bytes = m_map->Bytes.data();
        const auto width = uint64_t(m_map->Width);
        const int64_t firstRow = m_firstRow;
        const int64_t rowsAfter = m_lastRow - m_firstRow; // negative: nothing to write
        const uint8_t pen = m_pen;
        walkLine(m_x, m_y, x, y, [=](int64_t px, int64_t py) {
            if (uint64_t(px) < width && uint64_t(py - firstRow) <= uint64_t(rowsAfter)) {
                bytes[uint64_t(py) * width + uint64_t(px)] = pen;
            }
        });
    } else {
        walkLine(m_x, m_y, x, y, [this](int64_t px, int64_t py) { plotColor(px, py); });
    }
    m_x = x;
    m_y = y;
}

int32_t TBezier::roundLargeHalfEven(double v) {
    const double whole = std::floor(v);
    const double fraction = v - whole;
    double r = whole;
    if (fraction > 0.5) {
        r = whole + 1.0;
    } else if (fraction == 0.5) {
        r = std::fmod(whole, 2.0) == 0.0 ? whole : whole + 1.0;
    }
    return int32_t(std::clamp(r, double(INT32_MIN), double(INT32_MAX)));
}

Point TBezier::curveEnd(std::span<const Point> points) const {
    const auto degree = std::size_t(points.size() - 1);
    double x = 0.0;
    double y = 0.0;
    for (std::size_t i = 0; i <= degree; ++i) {
        const double w = m_weights[degree][i][std::size_t(m_steps)];
        x += w * double(points[i].X);
        y += w * double(points[i].Y);
    }
    return {roundHalfEven(x), roundHalfEven(y)};
}

void TBezier::curve(std::span<const Point> points) {
    const auto degree = int32_t(points.size()) - 1;
    if (degree < 1 || degree > kMaxDegree) {
        return;
    }
    if (m_strokes != nullptr) {
        record(points, false);
        const Point end = curveEnd(points);
        moveTo(end.X, end.Y);
        return;
    }
    // All points first, each summed over the control points in their order
    // (so the sums are those of one point at a time), then the lines.
    const auto n = std::size_t(m_steps) + 1;
    std::array<double, kMaxSteps + 1> xs;
    std::array<double, kMaxSteps + 1> ys;
    const auto& weights = m_weights[std::size_t(degree)];
    for (std::size_t k = 0; k < n; ++k) {
        xs[k] = 0.0 + weights[0][k] * double(points[0].X);
        ys[k] = 0.0 + weights[0][k] * double(points[0].Y);
    }
    for (std::size_t i = 1; i <= std::size_t(degree); ++i) {
        const double* const w = weights[i].data();
        const auto px = double(points[i].X);
        const auto py = double(points[i].Y);
        for (std::size_t k = 0; k < n; ++k) {
            xs[k] += w[k] * px;
            ys[k] += w[k] * py;
        }
    }
    const auto point = [&](std::size_t k) {
        Point p;
        if (!roundPairHalfEven(xs[k], ys[k], p)) {
            p = {roundHalfEven(xs[k]), roundHalfEven(ys[k])};
        }
        return p;
    };
    const Point start = point(0);
    moveTo(start.X, start.Y);
    for (std::size_t k = 1; k < n; ++k) {
        const Point p = point(k);
        lineTo(p.X, p.Y);
    }
}

} // namespace zg

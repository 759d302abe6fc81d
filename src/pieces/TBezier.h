#pragma once

#include "gfx/Bitmap24.h"
#include "gfx/Color.h"
#include "gfx/Rect.h"
#include "pieces/CutMap.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zg {

/// One drawing call kept for later: a straight line from the first to the
/// second point, or a curve through its 2 to 5 points, with the pen it was
/// drawn with and the rows it can touch.
struct CutStroke {
    std::array<Point, 5> Points{};
    uint8_t Count = 0; ///< points in use
    bool Line = false; ///< a straight line rather than a curve
    uint8_t Pen = 0;
    int32_t Top = 0;    ///< the first row a pixel of the stroke can lie on
    int32_t Bottom = 0; ///< the last such row
};

/// The curve plotter of the cutter. It draws exact Bresenham lines and Bezier
/// curves of degree 2 and 3 either into a byte cut map (writing a pen value)
/// or in colour into a 24-bit bitmap (the style preview). Each curve is drawn
/// as N straight pieces, N = (width div cols) div 2 clamped to 1..40, from a
/// table of Bernstein weights computed once when the plotter is set up.
/// Nothing is ever written outside the target.
class TBezier {
public:
    static constexpr int32_t kMaxSteps = 40;
    static constexpr int32_t kMaxDegree = 4;

    /// Plots into `map`, which it zero-fills (its size stays). N comes from the
    /// map width and `cols` (a `cols` below 1 counts as 1).
    /// @pre `map` outlives the plotter.
    TBezier(CutMap& map, int32_t cols);
    /// Plots in colour into `canvas`; N comes from `width` and `cols`.
    /// @pre `canvas` outlives the plotter.
    TBezier(Bitmap24& canvas, int32_t width, int32_t cols);
    /// Plots nothing: every line and curve is appended to `strokes` instead,
    /// to be drawn later with replay(), the pen position moving as plotting
    /// would move it. N comes from `width` and `cols`.
    /// @pre `strokes` outlives the plotter.
    TBezier(std::vector<CutStroke>& strokes, int32_t width, int32_t cols);
    /// Plots into the rows firstRow .. lastRow of `map` only, leaving the map
    /// as it is otherwise: replaying every stroke of a drawing in its order
    /// gives those rows exactly the bytes that drawing it whole would. N
    /// comes from the map width and `cols`.
    /// @pre `map` outlives the plotter.
    TBezier(CutMap& map, int32_t cols, int32_t firstRow, int32_t lastRow);

    /// The byte that later lines write into the map.
    void setPen(uint8_t value) { m_pen = value; }
    uint8_t pen() const { return m_pen; }
    /// The colour that later lines draw on the canvas.
    void setColor(Color color) { m_color = color; }

    /// The number of straight pieces per curve (1..40).
    int32_t steps() const { return m_steps; }
    /// The Bernstein weight C(n, i) t^i (1-t)^(n-i) at t = k / steps().
    /// @pre 1 <= n <= 4, 0 <= i <= n, 0 <= k <= 40.
    double weight(int32_t n, int32_t i, int32_t k) const { return m_weights[n][i][k]; }

    /// The current pen position.
    Point position() const { return {m_x, m_y}; }
    void moveTo(int32_t x, int32_t y) {
        m_x = x;
        m_y = y;
    }
    /// Plots the Bresenham line from the current position to (x, y), both ends
    /// included, then makes (x, y) current.
    void lineTo(int32_t x, int32_t y);
    /// moveTo(x1, y1), then lineTo(x2, y2).
    void segment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        moveTo(x1, y1);
        lineTo(x2, y2);
    }
    /// A Bezier curve through 2 to 5 control points (degree 1 to 4; the cutter
    /// uses 3 and 4). Each evaluated point is rounded to the nearest integer,
    /// halves to even; the curve starts with a move to the first point and then
    /// draws lines to the other steps() points. Other point counts draw nothing.
    void curve(std::span<const Point> points);
    /// Draws a recorded stroke with its own pen.
    void replay(const CutStroke& stroke);

    /// Rounds to the nearest integer, halves to the even neighbour, independent
    /// of the floating-point environment.
    static int32_t roundHalfEven(double v) {
        // Curve points are small, so their floor comes from an integer
        // conversion (exact below 2^52) rather than a library call, and the
        // halves are settled without branches, which the random fractions
        // would mispredict; anything else, NaN included, takes the general way.
        constexpr double kExactLimit = 4503599627370496.0; // 2^52
        if (v > -kExactLimit && v < kExactLimit) [[likely]] {
            auto whole = int64_t(v); // toward zero
            whole -= int64_t(double(whole) > v);
            const double fraction = v - double(whole);
            whole += int64_t(fraction > 0.5) | (int64_t(fraction == 0.5) & (whole & 1));
            return int32_t(whole < INT32_MIN ? INT32_MIN : whole > INT32_MAX ? INT32_MAX : whole);
        }
        return roundLargeHalfEven(v);
    }

private:
    /// roundHalfEven for values of 2^52 and more, infinities and NaN.
    static int32_t roundLargeHalfEven(double v);
    void setUp(int32_t width, int32_t cols);
    /// Sets a canvas pixel, if there is a canvas and the pixel lies on it.
    void plotColor(int64_t x, int64_t y);
    /// Keeps a line or curve for later.
    /// @pre the plotter records (m_strokes is set).
    void record(std::span<const Point> points, bool line);
    /// The point a curve through `points` ends on.
    Point curveEnd(std::span<const Point> points) const;

    CutMap* m_map = nullptr;
    Bitmap24* m_canvas = nullptr;
    std::vector<CutStroke>* m_strokes = nullptr;
    int64_t m_firstRow = 0; ///< rows of the map that may be written
    int64_t m_lastRow = -1;
    int32_t m_x = 0;
    int32_t m_y = 0;
    uint8_t m_pen = 0;
    Color m_color = 0;
    int32_t m_steps = 1;
    std::array<std::array<std::array<double, kMaxSteps + 1>, kMaxDegree + 1>, kMaxDegree + 1> m_weights{};
};

} // namespace zg

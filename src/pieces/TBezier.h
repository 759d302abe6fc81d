#pragma once

#include "gfx/Bitmap24.h"
#include "gfx/Color.h"
#include "gfx/Rect.h"
#include "pieces/CutMap.h"

#include <array>
#include <cstdint>
#include <span>

namespace zg {

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

    /// Rounds to the nearest integer, halves to the even neighbour, independent
    /// of the floating-point environment.
    static int32_t roundHalfEven(double v);

private:
    void setUp(int32_t width, int32_t cols);
    void plot(int64_t x, int64_t y);

    CutMap* m_map = nullptr;
    Bitmap24* m_canvas = nullptr;
    int32_t m_x = 0;
    int32_t m_y = 0;
    uint8_t m_pen = 0;
    Color m_color = 0;
    int32_t m_steps = 1;
    std::array<std::array<std::array<double, kMaxSteps + 1>, kMaxDegree + 1>, kMaxDegree + 1> m_weights{};
};

} // namespace zg

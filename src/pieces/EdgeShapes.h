#pragma once

#include "gfx/Rect.h"
#include "pieces/TBezier.h"

#include <cstdint>

namespace zg {

/// Piece styles as the game record stores them.
enum PieceStyle : int32_t {
    kStyleClassic = 1,
    kStyleBlip = 2,
    kStyleSquare = 3,
    kStyleStar = 4,
    kStyleRound = 5,
    kStyleMix = 6,
};

/// Clamps a stored style to 1..6.
constexpr int32_t clampStyle(int64_t style) {
    return style < kStyleClassic ? kStyleClassic : style > kStyleMix ? kStyleMix : int32_t(style);
}

/// Which way an edge runs: a vertical edge from its upper corner down to the
/// lower one, a horizontal edge from its left corner to the right one.
enum class EdgeKind { Vertical = 1, Horizontal = 2 };

/// The tab geometry of the cell whose edges are being drawn.
struct EdgeShape {
    int32_t T3 = 0; ///< a third of the cell's height
    int32_t W3 = 0; ///< a third of the cell's width
    int32_t sx = 0; ///< knob depth across a vertical edge; positive bulges the knob toward -x
    int32_t sy = 0; ///< knob depth across a horizontal edge; positive bulges the knob toward +y
    int32_t a1 = 0; ///< vertical edge: upper shoulder
    int32_t b1 = 0; ///< vertical edge: upper knob
    int32_t a2 = 0; ///< vertical edge: lower shoulder
    int32_t b2 = 0; ///< vertical edge: lower knob
    int32_t c1 = 0; ///< horizontal edge: left shoulder
    int32_t d1 = 0; ///< horizontal edge: left knob
    int32_t c2 = 0; ///< horizontal edge: right shoulder
    int32_t d2 = 0; ///< horizontal edge: right knob
};

/// Draws one edge from `from` to `to` in `style` (1..5; any other value draws
/// the Classic edge) with the plotter's current pen. With `neckShift` false
/// the Classic neck points stay on the corners' lines (fx = fy = 0), as the
/// older generator draws them.
void drawEdge(TBezier& plotter, int32_t style, EdgeKind kind, const EdgeShape& shape, Point from, Point to,
              bool neckShift = true);

} // namespace zg

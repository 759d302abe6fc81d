#pragma once

#include "gfx/Rect.h"
#include "pieces/CutMap.h"
#include "pieces/EdgeShapes.h"
#include "pieces/OpenRuns.h"
#include "pieces/RandomGenerator.h"

#include <cstdint>
#include <vector>

namespace zg {

class Host;

/// What a cut depends on besides the random generator's state.
struct CutParams {
    int32_t Width = 0;             ///< the scaled picture's width: the map's width
    int32_t Height = 0;            ///< the scaled picture's height
    int32_t Cols = 0;              ///< grid columns
    int32_t Rows = 0;              ///< grid rows
    int32_t Style = kStyleClassic; ///< 1..6; other values are clamped
    int32_t Oddness = 0;           ///< 0..10; other values are clamped
    int32_t Version = 5;           ///< the game record's version; 1..4 select the older generator
};

/// True when a game record of this version is cut with the older generator.
constexpr bool usesOlderGenerator(int32_t version) {
    return version >= 1 && version <= 4;
}

/// What the generator decided for one grid cell, in the order the cells are
/// cut (rows outer, columns inner). Lets callers compare cuts at different
/// scales without looking at pixels.
struct CutCellRecord {
    Point Corner;                ///< the cell's lower-right grid corner
    bool FlipX = false;          ///< the knob depth across the vertical edge was negated
    bool FlipY = false;          ///< the knob depth across the horizontal edge was negated
    int32_t HorizontalStyle = 0; ///< style of the cell's lower edge (0: a border, not drawn as an edge)
    int32_t VerticalStyle = 0;   ///< style of the cell's right edge (0: a border)

    friend bool operator==(const CutCellRecord&, const CutCellRecord&) = default;
};
using CutTrace = std::vector<CutCellRecord>;

/// Cuts a picture: sizes `map` to Width x Height and `seeds` to Cols x Rows,
/// draws every cut line with the pen value of the cell that owns it
/// (cellPen), sets one seed point per cell, then repairs isolated holes and
/// makes every open area belong to exactly one piece (claimRegions).
/// The result is a pure function of `params` and `rng.RandSeed`; the caller
/// sets RandSeed to the puzzle's seed first. The random draws happen in a
/// fixed order that depends only on the grid, style, oddness and version, not
/// on the pixel size, so the same seed gives the same shapes at every scale.
///
/// With a host, the busy cursor shows while cutting and "Generating: " progress
/// is reported, one step per cell; the cursor is restored and the status line
/// cleared afterwards, also when an exception leaves.
/// With a trace, one record per cell is appended to it. With `openRuns`, the
/// open runs of the repaired map are left there for labelling, which would
/// otherwise find them again (claiming areas fills only whole areas, so they
/// stay a true picture of what is open). `threads` threads (1: only the
/// calling one) share the drawing; the map is the same for any number.
/// @throws std::invalid_argument when a size or grid dimension is below 1;
///         std::bad_alloc when the map cannot be allocated.
void cutPuzzle(CutMap& map, SeedTable& seeds, const CutParams& params, RandomGenerator& rng, Host* host,
               CutTrace* trace = nullptr, OpenRuns* openRuns = nullptr, int32_t threads = 1);

} // namespace zg

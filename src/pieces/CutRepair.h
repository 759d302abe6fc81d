#pragma once

#include "pieces/CutMap.h"
#include "pieces/OpenRuns.h"

namespace zg {

/// Every pixel of rows 1..H-2 and columns 1..W-2, in raster order, that is 0
/// while its four neighbours are non-zero takes its left neighbour's value.
/// Works in place, so a repaired pixel counts as a line pixel for the next one.
/// `threads` threads (1: only the calling one) share the rows; the map ends
/// the same for any number.
void repairHoles(CutMap& map, int32_t threads = 1);

/// Makes every open (zero) area of the map belong to exactly one piece, so
/// that filling each cell's region from its seed, as labelling does, leaves
/// nothing out. Jittered corners and deep knobs can make curves of different
/// edges cross: a seed may then land on a line or in a neighbour's tab, and
/// small pockets can be closed off between lines. This
///  1. keeps every seed that already lies in an open area of its own; where
///     two seeds share an area, the area goes to the cell whose own lines
///     border it most (ties: the earlier cell in row-major order);
///  2. moves each remaining seed into the unclaimed area that its own lines
///     border most, at the area's pixel nearest the old seed; a cell that finds
///     none gets its seed on one of its own line pixels that cannot lead a fill
///     into a neighbour's area;
///  3. gives every area still unclaimed to the piece whose lines border it
///     most, by writing that pen value over it.
/// A cut whose seeds all lie in distinct areas and which has no unclaimed area
/// is left untouched, seeds included.
void claimRegions(CutMap& map, SeedTable& seeds);
/// The same with the map's open runs already found (runs.describes(map)).
void claimRegions(CutMap& map, SeedTable& seeds, const OpenRuns& runs);

} // namespace zg

#pragma once

#include "pieces/CutMap.h"
#include "pieces/TBezier.h"

#include <cstdint>
#include <span>

namespace zg {

/// Rows First .. Last of a map, one share of work that touches only them.
struct RowBand {
    int32_t First = 0;
    int32_t Last = -1;
};

/// How many bands the rows of a `height`-row map are cut into for `threads`
/// threads: 1 for a single thread, otherwise several per thread (so that the
/// threads end close together) of at least a few rows each.
int32_t rowBandCount(int32_t height, int32_t threads);
/// Band `index` of `count` equal bands over `height` rows.
RowBand rowBand(int32_t height, int32_t count, int32_t index);

/// Zero-fills `map` and draws `strokes` (recorded by a TBezier set up with
/// the map's width and `cols`) into it in their order, the map's rows shared
/// among `threads` threads: each band of rows clears its rows and replays,
/// in order, the strokes that can reach it, so the map ends exactly as
/// drawing every stroke in turn into a cleared map leaves it. The map's bytes
/// may be unwritten before.
void drawStrokes(CutMap& map, std::span<const CutStroke> strokes, int32_t cols, int32_t threads);

} // namespace zg

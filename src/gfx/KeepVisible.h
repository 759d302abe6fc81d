#pragma once

#include "gfx/Rect.h"

namespace zg {

/// Moves `r` so that at least half a cell width (hw) and half a cell height
/// (hh) of it lie inside `area`. Returns true when it moved.
bool keepVisible(Rect& r, const Rect& area, int32_t hw, int32_t hh);

} // namespace zg

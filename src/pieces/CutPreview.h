#pragma once

#include "gfx/Bitmap24.h"
#include "pieces/CutMap.h"

namespace zg {

/// A copy of `picture` with every cut line of `map` drawn over it, each line
/// pixel black over light picture pixels and white over dark ones, so the cut
/// can be inspected on any picture. Map pixels outside the picture are ignored.
Bitmap24 renderCutPreview(const Bitmap24& picture, const CutMap& map);

} // namespace zg

#pragma once

#include "gfx/Bitmap24.h"

#include <cstdint>

namespace zg {

/// Returns `source` resampled to width x height: an area average (box filter)
/// along an axis that shrinks, bilinear interpolation along one that grows,
/// and an exact copy when the size is unchanged.
/// An empty source gives a black bitmap of the requested size.
/// @throws std::length_error for a negative or absurd size.
Bitmap24 stretchBitmap(const Bitmap24& source, int32_t width, int32_t height);

} // namespace zg

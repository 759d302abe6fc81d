#pragma once

#include "gfx/Rect.h"

#include <cstdint>

namespace zg {

/// The largest size with the picture's proportions that fits inside an area
/// of areaWidth x areaHeight: the full area width with the height
/// height x areaWidth / width when that height fits, otherwise the full area
/// height with the width width x areaHeight / height. Divisions truncate.
/// Returned as X = width, Y = height. A picture or an area without pixels
/// (a side of 0 or less) gives 0 x 0.
Point fitPicture(int32_t width, int32_t height, int32_t areaWidth, int32_t areaHeight);

/// Where a picture is drawn in an area with a margin of `marginPercent` per
/// cent: the fitted size (fitPicture) centred, the offsets truncated; when the
/// horizontal offset is below areaWidth x marginPercent / 100 the picture is
/// stretched over the full width from 0, and likewise vertically, so a
/// picture that nearly fills the area fills it. A picture or an area without
/// pixels gives an empty rectangle.
Rect placePicture(int32_t width, int32_t height, int32_t areaWidth, int32_t areaHeight,
                  int32_t marginPercent);

} // namespace zg

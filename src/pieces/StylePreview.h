#pragma once

#include "gfx/Bitmap24.h"

#include <cstdint>

namespace zg {

/// The smallest and largest usable piece cell, in pixels.
constexpr int32_t kMinCellSize = 8;
constexpr int32_t kMaxCellSize = 640;

/// Whether a scale gives usable pieces: the cell of the grid at `percent` of
/// the picture, (percent * width div 100) div cols by (percent * height div
/// 100) div rows, must be 8 to 640 pixels on both sides. A grid below 1 x 1 or
/// a negative size is never valid.
bool pieceSizeValid(int32_t percent, int32_t pictureWidth, int32_t pictureHeight, int32_t cols, int32_t rows);

/// The piece size dialog's preview: answers pieceSizeValid for the scale and,
/// when it is valid and `canvas` is given, draws one sample piece of that cell
/// size in `style` (clamped to 1..6) and `oddness` (clamped to 0..10) onto the
/// canvas: red outline, filled red. The drawing uses no random draws. What lies
/// outside the canvas is clipped; the caller clears the canvas beforehand.
bool drawStylePreview(Bitmap24* canvas, int32_t percent, int32_t pictureWidth, int32_t pictureHeight,
                      int32_t cols, int32_t rows, int32_t style, int32_t oddness);

} // namespace zg

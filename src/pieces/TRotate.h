#pragma once

#include "gfx/Bitmap1.h"
#include "gfx/Bitmap24.h"
#include "gfx/Rect.h"

#include <cstdint>

namespace zg {

/// Turns blocks of pixels by quarter turns clockwise. For k = 1 the pixel at
/// (x, y) of a w x h block goes to (h - 1 - y, x), for k = 2 to
/// (w - 1 - x, h - 1 - y), for k = 3 to (y, w - 1 - x); the result is h x w
/// for odd k and w x h for k = 2. Destination pixels outside the result are
/// left as they were. k is taken modulo 4; 0 copies the block unturned.
class TRotate {
public:
    /// Turns the block `from` of `source` into `target` with the result's
    /// top-left at `to`. Source and target must be different bitmaps.
    /// @throws std::out_of_range when the block is not inside the source or
    ///         the result does not fit the target (nothing is written then).
    static void turn(const Bitmap24& source, const Rect& from, Bitmap24& target, Point to, int32_t k);
    /// The same for monochrome bitmaps; each bitmap is read and written with
    /// its own row stride.
    static void turn(const Bitmap1& source, const Rect& from, Bitmap1& target, Point to, int32_t k);

    /// The size (width, height) of a w x h block after k quarter turns.
    static Point turnedSize(int32_t w, int32_t h, int32_t k) { return (k & 1) ? Point{h, w} : Point{w, h}; }
};

} // namespace zg

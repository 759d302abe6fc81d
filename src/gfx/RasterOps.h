#pragma once

#include "gfx/Bitmap1.h"
#include "gfx/Bitmap24.h"

namespace zg {

/// Block transfers between bitmaps. Each takes the source rectangle `src` of the
/// source bitmap and places its top-left at (dx, dy) of the target; both sides
/// are clipped to their bitmaps, so any arguments are safe.

/// Plain copy.
void copyRect(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap24& source, const Rect& src);
/// Target pixels under black mask pixels become black; under white ones they stay.
/// With `inverted`, the roles of black and white are swapped.
void andMask(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap1& mask, const Rect& src,
             bool inverted = false);
/// Bitwise OR of the source pixels onto the target.
void orImage(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap24& source, const Rect& src);
/// Monochrome AND: target pixels under black source pixels become black.
void andMask(Bitmap1& target, int32_t dx, int32_t dy, const Bitmap1& mask, const Rect& src);
/// Monochrome copy.
void copyRect(Bitmap1& target, int32_t dx, int32_t dy, const Bitmap1& source, const Rect& src);
/// Inverts every colour channel inside `r` (clipped). Applying it twice restores the pixels.
void invertRect(Bitmap24& target, const Rect& r);

/// The clipped extent of a transfer: `count` pixels wide and high, reading from
/// (srcX, srcY) and writing to (dstX, dstY). Empty when nothing overlaps.
struct BlitSpan {
    int32_t srcX = 0, srcY = 0, dstX = 0, dstY = 0, width = 0, height = 0;
    bool isEmpty() const { return width <= 0 || height <= 0; }
};
BlitSpan clipBlit(const Rect& targetBounds, int32_t dx, int32_t dy, const Rect& sourceBounds,
                  const Rect& src);

} // namespace zg

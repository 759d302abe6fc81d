#pragma once

#include "gfx/Bitmap1.h"
#include "gfx/Bitmap24.h"
#include "gfx/Rect.h"

namespace zg {

/// Transparent sprite transfer in one pass: every pixel of the destination
/// becomes (destination AND mask) OR image, channel by channel, where a black
/// mask pixel is all zero bits and a white one all one bits. The result is the
/// same as an AND of the mask followed by an OR of the image; runs of pixels
/// under a black mask are copied and runs under a white mask are ORed, so the
/// cost stays close to a plain copy. Takes `src` of the image and of the mask
/// (which must be aligned with each other) to (dx, dy) of `target`, clipped to
/// all three bitmaps.
void blitMaskedSprite(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap24& image, const Bitmap1& mask,
                      const Rect& src);

/// Masked copy in one pass: every pixel of `src` of `mask` that is black takes
/// the pixel of `picture` at the same offset from `pictureAt` as it has from
/// src's top-left, landing at the same offset from (dx, dy) of `target`;
/// pixels under white mask bits are left alone. Clipped to all three bitmaps.
/// Gives what blitMaskedSprite gives with an image that holds the picture's
/// pixels under the mask and black elsewhere, without making that image.
void blitMaskedPicture(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap24& picture, Point pictureAt,
                       const Bitmap1& mask, const Rect& src);

} // namespace zg

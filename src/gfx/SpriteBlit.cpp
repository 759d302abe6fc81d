#include "gfx/SpriteBlit.h"

#include "gfx/RasterOps.h"
#include "gfx/RasterOpsBits.h"

#include <cstring>

namespace zg {

namespace {

using namespace rasterbits;

/// Eight pixels (24 bytes): d := (d AND mask) OR s.
inline void blendEight(uint8_t* d, const uint8_t* s, uint8_t bits) {
    if (bits == 0x00) { // all covered by the sprite: a copy
        std::memcpy(d, s, 24);
        return;
    }
    if (bits == 0xFF) { // all board: only the image's bits are added
        store128(d, load128(d) | load128(s));
        store64(d + 16, load64(d + 16) | load64(s + 16));
        return;
    }
    const uint8_t* m = kExpandedMask[bits].data();
    store128(d, (load128(d) & load128(m)) | load128(s));
    store64(d + 16, (load64(d + 16) & load64(m + 16)) | load64(s + 16));
}

/// Eight pixels (24 bytes): d := s where the mask bit is 0, d stays where it is 1.
inline void selectEight(uint8_t* d, const uint8_t* s, uint8_t bits) {
    if (bits == 0x00) {
        std::memcpy(d, s, 24);
        return;
    }
    if (bits == 0xFF) {
        return;
    }
    const uint8_t* m = kExpandedMask[bits].data();
    store128(d, (load128(d) & load128(m)) | (load128(s) & ~load128(m)));
    store64(d + 16, (load64(d + 16) & load64(m + 16)) | (load64(s + 16) & ~load64(m + 16)));
}

/// Walks the span `b` of `mask` row by row, handing `eight` eight target
/// pixels, the source pixels under them and their mask byte, and `one` the
/// pixels left at a row's end with their mask bit (true for white). The
/// source's pixel for mask column b.srcX of row b.srcY is at `sourceAt`.
template <typename Eight, typename One>
void maskedRows(Bitmap24& target, const BlitSpan& b, const Bitmap1& mask, const Bitmap24& source,
                Point sourceAt, Eight eight, One one) {
    const std::size_t rowBytes = mask.stride();
    for (int32_t y = 0; y < b.height; ++y) {
        const uint8_t* bits = mask.row(b.srcY + y);
        const uint8_t* s = source.row(sourceAt.Y + y) + std::size_t(sourceAt.X) * 3;
        uint8_t* d = target.row(b.dstY + y) + std::size_t(b.dstX) * 3;
        int32_t x = 0;
        if ((b.srcX & 7) == 0) {
            // The usual case: the sprite starts on a mask byte.
            const uint8_t* m = bits + (b.srcX >> 3);
            for (; x + 8 <= b.width; x += 8) {
                eight(d + std::size_t(x) * 3, s + std::size_t(x) * 3, m[x >> 3]);
            }
        } else {
            for (; x + 8 <= b.width; x += 8) {
                eight(d + std::size_t(x) * 3, s + std::size_t(x) * 3, maskBitsAt(bits, rowBytes, b.srcX + x));
            }
        }
        for (; x < b.width; ++x) {
            const int32_t mx = b.srcX + x;
            one(d + std::size_t(x) * 3, s + std::size_t(x) * 3, (bits[mx >> 3] & (0x80 >> (mx & 7))) != 0);
        }
    }
}

} // namespace

void blitMaskedPicture(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap24& picture, Point pictureAt,
                       const Bitmap1& mask, const Rect& src) {
    // The part of src whose picture pixels exist, then clipped to the target.
    const Rect inPicture =
        Rect::fromSize(src.Left - pictureAt.X, src.Top - pictureAt.Y, picture.width(), picture.height());
    const Rect from = intersection(src, inPicture);
    const BlitSpan b = clipBlit(target.bounds(), dx + (from.Left - src.Left), dy + (from.Top - src.Top),
                                mask.bounds(), from);
    const Point at{pictureAt.X + (b.srcX - src.Left), pictureAt.Y + (b.srcY - src.Top)};
    maskedRows(target, b, mask, picture, at, selectEight, [](uint8_t* p, const uint8_t* q, bool white) {
        if (!white) {
            std::memcpy(p, q, 3);
        }
    });
}

void blitMaskedSprite(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap24& image, const Bitmap1& mask,
                      const Rect& src) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, intersection(image.bounds(), mask.bounds()), src);
    maskedRows(target, b, mask, image, {b.srcX, b.srcY}, blendEight,
               [](uint8_t* p, const uint8_t* q, bool white) {
                   const uint8_t m = white ? 0xFF : 0x00;
                   p[0] = uint8_t((p[0] & m) | q[0]);
                   p[1] = uint8_t((p[1] & m) | q[1]);
                   p[2] = uint8_t((p[2] & m) | q[2]);
               });
}

} // namespace zg

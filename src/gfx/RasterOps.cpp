#include "gfx/RasterOps.h"

#include <cstring>

namespace zg {

BlitSpan clipBlit(const Rect& targetBounds, int32_t dx, int32_t dy, const Rect& sourceBounds,
                  const Rect& src) {
    // Clip the source rectangle to its bitmap, shifting the destination along.
    Rect s = intersection(src, sourceBounds);
    if (s.isEmpty()) {
        return {};
    }
    int64_t tx = int64_t(dx) + (s.Left - src.Left);
    int64_t ty = int64_t(dy) + (s.Top - src.Top);
    // Then clip the destination to the target, shifting the source along.
    int64_t x0 = std::max<int64_t>(tx, targetBounds.Left);
    int64_t y0 = std::max<int64_t>(ty, targetBounds.Top);
    int64_t x1 = std::min<int64_t>(tx + s.width(), targetBounds.Right);
    int64_t y1 = std::min<int64_t>(ty + s.height(), targetBounds.Bottom);
    if (x1 <= x0 || y1 <= y0) {
        return {};
    }
    BlitSpan span;
    span.srcX = int32_t(s.Left + (x0 - tx));
    span.srcY = int32_t(s.Top + (y0 - ty));
    span.dstX = int32_t(x0);
    span.dstY = int32_t(y0);
    span.width = int32_t(x1 - x0);
    span.height = int32_t(y1 - y0);
    return span;
}

void copyRect(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap24& source, const Rect& src) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, source.bounds(), src);
    if (b.isEmpty()) {
        return;
    }
    const std::size_t bytes = std::size_t(b.width) * 3;
    if (&target == &source && b.dstY > b.srcY) {
        for (int32_t y = b.height - 1; y >= 0; --y) {
            std::memmove(target.row(b.dstY + y) + std::size_t(b.dstX) * 3,
                         source.row(b.srcY + y) + std::size_t(b.srcX) * 3, bytes);
        }
        return;
    }
    for (int32_t y = 0; y < b.height; ++y) {
        std::memmove(target.row(b.dstY + y) + std::size_t(b.dstX) * 3,
                     source.row(b.srcY + y) + std::size_t(b.srcX) * 3, bytes);
    }
}

void andMask(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap1& mask, const Rect& src, bool inverted) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, mask.bounds(), src);
    for (int32_t y = 0; y < b.height; ++y) {
        const uint8_t* m = mask.row(b.srcY + y);
        uint8_t* t = target.row(b.dstY + y) + std::size_t(b.dstX) * 3;
        for (int32_t x = 0; x < b.width; ++x, t += 3) {
            const int32_t sx = b.srcX + x;
            const bool white = (m[sx >> 3] & (0x80 >> (sx & 7))) != 0;
            if (white == inverted) {
                t[0] = t[1] = t[2] = 0;
            }
        }
    }
}

void orImage(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap24& source, const Rect& src) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, source.bounds(), src);
    const std::size_t bytes = std::size_t(b.width) * 3;
    for (int32_t y = 0; y < b.height; ++y) {
        const uint8_t* s = source.row(b.srcY + y) + std::size_t(b.srcX) * 3;
        uint8_t* t = target.row(b.dstY + y) + std::size_t(b.dstX) * 3;
        for (std::size_t i = 0; i < bytes; ++i) {
            t[i] |= s[i];
        }
    }
}

void andMask(Bitmap1& target, int32_t dx, int32_t dy, const Bitmap1& mask, const Rect& src) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, mask.bounds(), src);
    for (int32_t y = 0; y < b.height; ++y) {
        for (int32_t x = 0; x < b.width; ++x) {
            if (!mask.isWhite(b.srcX + x, b.srcY + y)) {
                target.setWhite(b.dstX + x, b.dstY + y, false);
            }
        }
    }
}

void copyRect(Bitmap1& target, int32_t dx, int32_t dy, const Bitmap1& source, const Rect& src) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, source.bounds(), src);
    for (int32_t y = 0; y < b.height; ++y) {
        for (int32_t x = 0; x < b.width; ++x) {
            target.setWhite(b.dstX + x, b.dstY + y, source.isWhite(b.srcX + x, b.srcY + y));
        }
    }
}

void invertRect(Bitmap24& target, const Rect& r) {
    const Rect c = intersection(r, target.bounds());
    for (int32_t y = c.Top; y < c.Bottom; ++y) {
        uint8_t* t = target.row(y) + std::size_t(c.Left) * 3;
        for (std::size_t i = 0; i < std::size_t(c.width()) * 3; ++i) {
            t[i] = uint8_t(~t[i]);
        }
    }
}

} // namespace zg

#include "gfx/RasterOps.h"

#include "gfx/RasterOpsBits.h"

#include <algorithm>
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

namespace {

using namespace rasterbits;

/// Eight pixels (24 bytes) ANDed with the expanded mask of `bits`.
inline void andEight(uint8_t* d, uint8_t bits) {
    if (bits == 0xFF) {
        return;
    }
    if (bits == 0x00) {
        std::memset(d, 0, 24);
        return;
    }
    const uint8_t* m = kExpandedMask[bits].data();
    store128(d, load128(d) & load128(m));
    store64(d + 16, load64(d + 16) & load64(m + 16));
}

/// The bits of a mask byte that fall on columns first..last (inclusive) of
/// the byte's eight columns 0..7.
constexpr uint8_t bitRange(int32_t first, int32_t last) {
    return uint8_t((0xFFu >> first) & (0xFFu << (7 - last)));
}

/// Combines `width` source bits starting at column sx of `src` into the bits
/// starting at column dx of `dst`: every destination byte that the span touches
/// is handled once, with combine(old, sourceBits, keep) where `keep` marks the
/// bits of the byte inside the span. Each byte's source bits are read before
/// it is written, so when `src` and `dst` are the same row, walking away from
/// the direction of the shift (right to left when dx > sx) copies as if from an
/// untouched source.
template <class Combine>
void combineBits(uint8_t* dst, const uint8_t* src, std::size_t srcBytes, int32_t sx, int32_t dx,
                 int32_t width, Combine combine) {
    const int32_t last = dx + width - 1;
    const auto one = [&](int32_t byte) {
        const int32_t col0 = byte * 8;
        const uint8_t keep = bitRange(std::max(dx, col0) - col0, std::min(last, col0 + 7) - col0);
        // The source column that lands on the byte's first column; columns
        // outside the source row are never kept.
        const uint8_t bits = maskBitsAt(src, srcBytes, int64_t(sx) + (col0 - dx));
        dst[byte] = combine(dst[byte], bits, keep);
    };
    if (dx > sx) {
        for (int32_t byte = last >> 3; byte >= dx >> 3; --byte) {
            one(byte);
        }
    } else {
        for (int32_t byte = dx >> 3; byte <= last >> 3; ++byte) {
            one(byte);
        }
    }
}

} // namespace

void andMask(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap1& mask, const Rect& src, bool inverted) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, mask.bounds(), src);
    const std::size_t rowBytes = mask.stride();
    const uint8_t flip = inverted ? 0xFF : 0x00;
    for (int32_t y = 0; y < b.height; ++y) {
        const uint8_t* m = mask.row(b.srcY + y);
        uint8_t* t = target.row(b.dstY + y) + std::size_t(b.dstX) * 3;
        int32_t x = 0;
        for (; x + 8 <= b.width; x += 8) {
            andEight(t + std::size_t(x) * 3, uint8_t(maskByteFor(m, rowBytes, b.srcX + x) ^ flip));
        }
        for (; x < b.width; ++x) {
            const int32_t sx = b.srcX + x;
            const bool white = (m[sx >> 3] & (0x80 >> (sx & 7))) != 0;
            if (white == inverted) {
                uint8_t* p = t + std::size_t(x) * 3;
                p[0] = p[1] = p[2] = 0;
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
        std::size_t i = 0;
        for (; i + 8 <= bytes; i += 8) {
            store64(t + i, load64(t + i) | load64(s + i));
        }
        for (; i < bytes; ++i) {
            t[i] |= s[i];
        }
    }
}

void andMask(Bitmap1& target, int32_t dx, int32_t dy, const Bitmap1& mask, const Rect& src) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, mask.bounds(), src);
    for (int32_t y = 0; y < b.height; ++y) {
        combineBits(target.row(b.dstY + y), mask.row(b.srcY + y), mask.stride(), b.srcX, b.dstX, b.width,
                    [](uint8_t old, uint8_t bits, uint8_t keep) { return uint8_t(old & (bits | ~keep)); });
    }
}

void copyRect(Bitmap1& target, int32_t dx, int32_t dy, const Bitmap1& source, const Rect& src) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, source.bounds(), src);
    if (b.isEmpty()) {
        return;
    }
    const auto combine = [](uint8_t old, uint8_t bits, uint8_t keep) {
        return uint8_t((old & ~keep) | (bits & keep));
    };
    if (&target == &source && b.dstY > b.srcY) {
        for (int32_t y = b.height - 1; y >= 0; --y) {
            combineBits(target.row(b.dstY + y), source.row(b.srcY + y), source.stride(), b.srcX, b.dstX,
                        b.width, combine);
        }
        return;
    }
    for (int32_t y = 0; y < b.height; ++y) {
        combineBits(target.row(b.dstY + y), source.row(b.srcY + y), source.stride(), b.srcX, b.dstX, b.width,
                    combine);
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

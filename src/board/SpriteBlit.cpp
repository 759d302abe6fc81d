#include "board/SpriteBlit.h"

#include "gfx/RasterOps.h"

#include <array>
#include <cstring>

namespace zg {

namespace {

/// For every mask byte, the AND mask of the eight 24-bit pixels it covers:
/// 0xFF in the three channels of a white pixel, 0x00 for a black one.
using ExpandedMask = std::array<std::array<uint8_t, 24>, 256>;

constexpr ExpandedMask makeExpandedMask() {
    ExpandedMask table{};
    for (int bits = 0; bits < 256; ++bits) {
        for (int i = 0; i < 8; ++i) {
            const uint8_t m = (bits & (0x80 >> i)) != 0 ? 0xFF : 0x00;
            table[std::size_t(bits)][std::size_t(i * 3)] = m;
            table[std::size_t(bits)][std::size_t(i * 3 + 1)] = m;
            table[std::size_t(bits)][std::size_t(i * 3 + 2)] = m;
        }
    }
    return table;
}

constexpr ExpandedMask kExpandedMask = makeExpandedMask();

inline uint64_t load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

inline void store64(uint8_t* p, uint64_t v) {
    std::memcpy(p, &v, 8);
}

/// Sixteen bytes as one value, so the compiler can use vector registers.
using Bytes16 = uint8_t __attribute__((vector_size(16)));

inline Bytes16 load128(const uint8_t* p) {
    Bytes16 v;
    std::memcpy(&v, p, 16);
    return v;
}

inline void store128(uint8_t* p, Bytes16 v) {
    std::memcpy(p, &v, 16);
}

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

/// The eight mask bits starting at column x of a mask row, the first one in
/// the top bit; bits past the row's last byte read as white.
inline uint8_t maskByteAt(const uint8_t* bits, std::size_t rowBytes, int32_t x) {
    const std::size_t i = std::size_t(x) >> 3;
    const int shift = x & 7;
    const unsigned hi = bits[i];
    const unsigned lo = i + 1 < rowBytes ? bits[i + 1] : 0xFFu;
    return uint8_t(((hi << 8 | lo) << shift) >> 8);
}

} // namespace

void blitMaskedSprite(Bitmap24& target, int32_t dx, int32_t dy, const Bitmap24& image, const Bitmap1& mask,
                      const Rect& src) {
    const BlitSpan b = clipBlit(target.bounds(), dx, dy, intersection(image.bounds(), mask.bounds()), src);
    const std::size_t rowBytes = mask.stride();
    for (int32_t y = 0; y < b.height; ++y) {
        const uint8_t* bits = mask.row(b.srcY + y);
        const uint8_t* s = image.row(b.srcY + y) + std::size_t(b.srcX) * 3;
        uint8_t* d = target.row(b.dstY + y) + std::size_t(b.dstX) * 3;
        int32_t x = 0;
        if ((b.srcX & 7) == 0) {
            // The usual case: the sprite starts on a mask byte.
            const uint8_t* m = bits + (b.srcX >> 3);
            for (; x + 8 <= b.width; x += 8) {
                blendEight(d + std::size_t(x) * 3, s + std::size_t(x) * 3, m[x >> 3]);
            }
        } else {
            for (; x + 8 <= b.width; x += 8) {
                blendEight(d + std::size_t(x) * 3, s + std::size_t(x) * 3,
                           maskByteAt(bits, rowBytes, b.srcX + x));
            }
        }
        for (; x < b.width; ++x) {
            const int32_t mx = b.srcX + x;
            const uint8_t m = (bits[mx >> 3] & (0x80 >> (mx & 7))) != 0 ? 0xFF : 0x00;
            uint8_t* p = d + std::size_t(x) * 3;
            const uint8_t* q = s + std::size_t(x) * 3;
            p[0] = uint8_t((p[0] & m) | q[0]);
            p[1] = uint8_t((p[1] & m) | q[1]);
            p[2] = uint8_t((p[2] & m) | q[2]);
        }
    }
}

} // namespace zg

#pragma once

#include "gfx/Rect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zg {

/// A monochrome bitmap: rows top to bottom, (width + 7) / 8 bytes per row, the
/// most significant bit is the leftmost pixel. A set bit is white, a clear bit
/// black; piece masks are black on the piece and white elsewhere.
class Bitmap1 {
public:
    Bitmap1() = default;
    /// New bitmaps are all white (every bit set).
    Bitmap1(int32_t width, int32_t height) { resize(width, height); }

    /// Resizes to width x height and sets every pixel to white.
    /// @throws std::length_error for a negative or absurd size.
    void resize(int32_t width, int32_t height);
    /// Takes `bytes` as the pixel rows (stride (width + 7) / 8).
    /// @throws std::length_error when bytes is too small for the size.
    void assign(int32_t width, int32_t height, std::vector<uint8_t> bytes);

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    std::size_t stride() const { return m_stride; }
    Rect bounds() const { return {0, 0, m_width, m_height}; }

    uint8_t* row(int32_t y) { return m_bits.data() + std::size_t(y) * m_stride; }
    const uint8_t* row(int32_t y) const { return m_bits.data() + std::size_t(y) * m_stride; }
    const std::vector<uint8_t>& bytes() const { return m_bits; }

    /// @pre (x, y) inside the bitmap. True for a white pixel.
    bool isWhite(int32_t x, int32_t y) const { return (row(y)[x >> 3] & (0x80 >> (x & 7))) != 0; }
    /// @pre (x, y) inside the bitmap.
    void setWhite(int32_t x, int32_t y, bool white) {
        uint8_t& b = row(y)[x >> 3];
        const uint8_t bit = uint8_t(0x80 >> (x & 7));
        b = white ? uint8_t(b | bit) : uint8_t(b & ~bit);
    }
    /// Fills `r` (clipped) with white or black.
    void fill(const Rect& r, bool white);
    /// Inverts every pixel.
    void invert();

    bool operator==(const Bitmap1& other) const = default;

private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::size_t m_stride = 0;
    std::vector<uint8_t> m_bits;
};

} // namespace zg

#pragma once

#include "gfx/Color.h"
#include "gfx/Rect.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zg {

/// A 24-bit colour bitmap: rows top to bottom, each pixel three bytes in the
/// order blue, green, red. Rows are padded to a multiple of four bytes so the
/// memory can be wrapped by a window-system image without copying.
class Bitmap24 {
public:
    Bitmap24() = default;
    /// @pre width, height >= 0. The new pixels are black.
    Bitmap24(int32_t width, int32_t height) { resize(width, height); }
    Bitmap24(const Bitmap24& other);
    Bitmap24& operator=(const Bitmap24& other);
    Bitmap24(Bitmap24&& other) noexcept;
    Bitmap24& operator=(Bitmap24&& other) noexcept;
    ~Bitmap24() = default;

    /// Resizes to width x height and clears every pixel to black.
    /// @throws std::length_error when a side is negative or the size is absurd.
    void resize(int32_t width, int32_t height);

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    std::size_t stride() const { return m_stride; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }
    Rect bounds() const { return {0, 0, m_width, m_height}; }

    uint8_t* row(int32_t y) { return m_pixels.get() + std::size_t(y) * m_stride; }
    const uint8_t* row(int32_t y) const { return m_pixels.get() + std::size_t(y) * m_stride; }
    uint8_t* data() { return m_pixels.get(); }
    const uint8_t* data() const { return m_pixels.get(); }

    /// @pre (x, y) inside the bitmap.
    Color pixel(int32_t x, int32_t y) const {
        const uint8_t* p = row(y) + std::size_t(x) * 3;
        return rgb(p[2], p[1], p[0]);
    }
    /// @pre (x, y) inside the bitmap.
    void setPixel(int32_t x, int32_t y, Color c) {
        uint8_t* p = row(y) + std::size_t(x) * 3;
        p[0] = blueOf(c);
        p[1] = greenOf(c);
        p[2] = redOf(c);
    }

    /// Fills `r` (clipped to the bitmap) with a direct colour.
    void fill(const Rect& r, Color c);
    void fill(Color c) { fill(bounds(), c); }

    bool operator==(const Bitmap24& other) const;

private:
    struct FreePixels {
        void operator()(uint8_t* p) const;
    };
    using Pixels = std::unique_ptr<uint8_t[], FreePixels>;
    /// `bytes` of pixel memory, all zero when `zeroed`; never null.
    /// @throws std::bad_alloc
    static Pixels allocate(std::size_t bytes, bool zeroed);

    int32_t m_width = 0;
    int32_t m_height = 0;
    std::size_t m_stride = 0;
    Pixels m_pixels;
};

} // namespace zg

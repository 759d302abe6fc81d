#include "gfx/Bitmap1.h"

#include <stdexcept>

namespace zg {

namespace {
constexpr int64_t kMaxBitmapBytes = int64_t(1) << 30;

void checkSize(int32_t width, int32_t height) {
    if (width < 0 || height < 0) {
        throw std::length_error("bitmap size is negative");
    }
    if (int64_t((width + 7) / 8) * height > kMaxBitmapBytes) {
        throw std::length_error("bitmap is too large");
    }
}
} // namespace

void Bitmap1::resize(int32_t width, int32_t height) {
    checkSize(width, height);
    m_width = width;
    m_height = height;
    m_stride = std::size_t(width + 7) / 8;
    m_bits.assign(m_stride * std::size_t(height), 0xFF);
}

void Bitmap1::assign(int32_t width, int32_t height, std::vector<uint8_t> bytes) {
    checkSize(width, height);
    const std::size_t stride = std::size_t(width + 7) / 8;
    if (bytes.size() < stride * std::size_t(height)) {
        throw std::length_error("mask buffer is smaller than the bitmap");
    }
    bytes.resize(stride * std::size_t(height));
    m_width = width;
    m_height = height;
    m_stride = stride;
    m_bits = std::move(bytes);
}

void Bitmap1::fill(const Rect& r, bool white) {
    const Rect clip = intersection(r, bounds());
    for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
        for (int32_t x = clip.Left; x < clip.Right; ++x) {
            setWhite(x, y, white);
        }
    }
}

void Bitmap1::invert() {
    for (uint8_t& b : m_bits) {
        b = uint8_t(~b);
    }
}

} // namespace zg

#include "gfx/Bitmap24.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace zg {

namespace {
// Larger than any board or picture we handle; guards against sizes read from files.
constexpr int64_t kMaxBitmapBytes = int64_t(1) << 31;
} // namespace

void Bitmap24::resize(int32_t width, int32_t height) {
    if (width < 0 || height < 0) {
        throw std::length_error("bitmap size is negative");
    }
    const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    if (int64_t(stride) * height > kMaxBitmapBytes) {
        throw std::length_error("bitmap is too large");
    }
    m_width = width;
    m_height = height;
    m_stride = stride;
    m_pixels.assign(stride * std::size_t(height), 0);
}

void Bitmap24::fill(const Rect& r, Color c) {
    const Rect clip = intersection(r, bounds());
    if (clip.isEmpty()) {
        return;
    }
    // Lay the colour once along the first row, doubling the filled part with
    // each copy, then copy that row to the others.
    const std::size_t bytes = std::size_t(clip.width()) * 3;
    uint8_t* const first = row(clip.Top) + std::size_t(clip.Left) * 3;
    first[0] = blueOf(c);
    first[1] = greenOf(c);
    first[2] = redOf(c);
    for (std::size_t done = 3; done < bytes;) {
        const std::size_t n = std::min(done, bytes - done);
        std::memcpy(first + done, first, n);
        done += n;
    }
    for (int32_t y = clip.Top + 1; y < clip.Bottom; ++y) {
        std::memcpy(row(y) + std::size_t(clip.Left) * 3, first, bytes);
    }
}

bool Bitmap24::operator==(const Bitmap24& other) const {
    if (m_width != other.m_width || m_height != other.m_height) {
        return false;
    }
    for (int32_t y = 0; y < m_height; ++y) {
        if (std::memcmp(row(y), other.row(y), std::size_t(m_width) * 3) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace zg

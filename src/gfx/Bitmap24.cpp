#include "gfx/Bitmap24.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace zg {

namespace {
// Larger than any board or picture we handle; guards against sizes read from files.
constexpr int64_t kMaxBitmapBytes = int64_t(1) << 31;
/// From this size on, pixel memory is offered to the kernel for large pages.
constexpr std::size_t kLargePageThreshold = std::size_t(4) << 20;
} // namespace

void Bitmap24::FreePixels::operator()(uint8_t* p) const {
    std::free(p);
}

Bitmap24::Pixels Bitmap24::allocate(std::size_t bytes, bool zeroed) {
    // calloc hands out fresh pages without writing them, so a large black
    // bitmap costs nothing until its pixels are drawn.
    const std::size_t size = std::max<std::size_t>(bytes, 1);
    void* p = zeroed ? std::calloc(size, 1) : std::malloc(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
#ifdef __linux__
    // Large bitmaps (pictures, atlases) are written once from end to end;
    // large pages spare the kernel one fault per 4 KiB on the first write.
    if (size >= kLargePageThreshold) {
        const auto page = std::size_t(sysconf(_SC_PAGESIZE));
        const auto begin = (reinterpret_cast<std::uintptr_t>(p) + page - 1) & ~std::uintptr_t(page - 1);
        const auto end = (reinterpret_cast<std::uintptr_t>(p) + size) & ~std::uintptr_t(page - 1);
        if (end > begin) {
            madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
        }
    }
#endif
    return Pixels(static_cast<uint8_t*>(p));
}

Bitmap24::Bitmap24(const Bitmap24& other)
    : m_width(other.m_width), m_height(other.m_height), m_stride(other.m_stride) {
    if (other.m_pixels) {
        // Every byte is copied over, so the memory need not be cleared first.
        m_pixels = allocate(m_stride * std::size_t(m_height), false);
        std::memcpy(m_pixels.get(), other.m_pixels.get(), m_stride * std::size_t(m_height));
    }
}

Bitmap24& Bitmap24::operator=(const Bitmap24& other) {
    if (this != &other) {
        Bitmap24 copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Bitmap24::Bitmap24(Bitmap24&& other) noexcept
    : m_width(std::exchange(other.m_width, 0)), m_height(std::exchange(other.m_height, 0)),
      m_stride(std::exchange(other.m_stride, 0)), m_pixels(std::move(other.m_pixels)) {}

Bitmap24& Bitmap24::operator=(Bitmap24&& other) noexcept {
    m_width = std::exchange(other.m_width, 0);
    m_height = std::exchange(other.m_height, 0);
    m_stride = std::exchange(other.m_stride, 0);
    m_pixels = std::move(other.m_pixels);
    return *this;
}

void Bitmap24::resize(int32_t width, int32_t height) {
    if (width < 0 || height < 0) {
        throw std::length_error("bitmap size is negative");
    }
    const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    if (int64_t(stride) * height > kMaxBitmapBytes) {
        throw std::length_error("bitmap is too large");
    }
    // The old pixels go first, so that a bitmap resized in place never holds
    // two buffers at once.
    m_pixels.reset();
    m_width = 0;
    m_height = 0;
    m_stride = 0;
    m_pixels = allocate(stride * std::size_t(height), true);
    m_width = width;
    m_height = height;
    m_stride = stride;
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

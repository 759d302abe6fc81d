#include "gfx/TSprite.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace zg {

namespace {

void put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

uint32_t get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

/// Where the run that continues at `from` of a `width`-byte row ends: the
/// first byte from there that is transparent (for an opaque run) or not
/// (for a transparent one), or `width`. `clear` holds the transparent byte
/// eight times. Eight bytes are looked at a time; within a word the first
/// byte that ends the run is found from the lowest set bit.
int32_t runEnd(const uint8_t* row, int32_t from, int32_t width, bool opaque, uint64_t clear) {
    int32_t end = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kLow = 0x0101010101010101ull;
        constexpr uint64_t kHigh = 0x8080808080808080ull;
        for (; end + 8 <= width; end += 8) {
            uint64_t word = 0;
            std::memcpy(&word, row + end, sizeof word);
            // Zero bytes where the row is transparent; for an opaque run, the
            // high bit of each zero byte (exact up to the first one, which is
            // all that is read).
            const uint64_t differs = word ^ clear;
            const uint64_t stops = opaque ? (differs - kLow) & ~differs & kHigh : differs;
            if (stops != 0) {
                return end + std::countr_zero(stops) / 8;
            }
        }
    }
    while (end < width && (row[end] != uint8_t(clear)) == opaque) {
        ++end;
    }
    return end;
}

/// Adds the signed offset `b` to one channel, clamped to 0..255.
inline uint8_t addClamped(uint8_t channel, int32_t b) {
    return uint8_t(std::clamp(int32_t(channel) + b, 0, 255));
}

} // namespace

void TSprite::loadColours(std::span<const Color> palette) {
    m_colours.fill(0);
    const std::size_t n = std::min<std::size_t>(palette.size(), 255);
    std::copy_n(palette.begin(), n, m_colours.begin());
}

std::vector<uint8_t> TSprite::encode(int32_t width, int32_t height, const uint8_t* image,
                                     std::size_t stride) const {
    if (width <= 0 || height <= 0) {
        return {};
    }
    if (width > 0xFFFF || stride < std::size_t(width)) {
        throw std::invalid_argument("a sprite row is wider than a run can say");
    }
    // Worst case per row: the size field and, for every pixel, a run header
    // and its data byte. The scratch is the thread's own and kept between
    // calls, so coding the sprites of many pieces does not ask the system for
    // fresh memory each time; only the bytes used are copied out.
    // Sixteen bytes more, so that a short run's data can be copied sixteen
    // bytes at once.
    const std::size_t worst = std::size_t(height) * (4 + 5 * std::size_t(width)) + 16;
    thread_local std::vector<uint8_t> scratch;
    if (scratch.size() < worst) {
        scratch.resize(worst);
    }
    uint8_t* const begin = scratch.data();
    uint8_t* out = begin;
    uint64_t clearWord = 0;
    std::memset(&clearWord, m_transparent, sizeof clearWord);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = image + std::size_t(y) * stride;
        uint8_t* rowStart = out;
        out += 4;
        int32_t x = 0;
        while (x < width) {
            const bool opaque = row[x] != m_transparent;
            const int32_t end = runEnd(row, x + 1, width, opaque, clearWord);
            const uint32_t length = uint32_t(end - x);
            put32(out, length | uint32_t(opaque ? kOpaqueRun : kTransparentRun) << 16);
            out += 4;
            if (opaque) {
                if (length <= 16 && x + 16 <= width) {
                    std::memcpy(out, row + x, 16); // the bytes past the run are overwritten next
                } else {
                    std::memcpy(out, row + x, length);
                }
                out += length;
            }
            x = end;
        }
        put32(rowStart, uint32_t(out - rowStart));
    }
    return std::vector<uint8_t>(begin, out);
}

void TSprite::paint(std::span<const uint8_t> block, Bitmap24& target, const Rect* clip, int32_t height,
                    int32_t width, int32_t top, int32_t left) const {
    const Rect area = clip ? intersection(*clip, target.bounds()) : target.bounds();
    if (area.isEmpty() || width <= 0 || height <= 0) {
        return;
    }
    std::size_t offset = 0;
    for (int32_t r = 0; r < height; ++r) {
        const int32_t y = top + r;
        if (y >= area.Bottom || block.size() - offset < 4) {
            return;
        }
        const uint32_t size = get32(block.data() + offset);
        if (size < 4 || size > block.size() - offset) {
            return; // a damaged record: stop rather than read past it
        }
        const uint8_t* rec = block.data() + offset;
        offset += size;
        if (y < area.Top) {
            continue;
        }
        uint8_t* dst = target.row(y);
        std::size_t pos = 4;
        int32_t x = left;
        int32_t covered = 0;
        while (covered < width && pos + 4 <= size && x < area.Right) {
            const uint32_t header = get32(rec + pos);
            pos += 4;
            const int32_t length = std::min<int32_t>(int32_t(header & 0xFFFF), width - covered);
            const bool opaque = (header >> 16) == kOpaqueRun;
            if (opaque && pos + std::size_t(header & 0xFFFF) > size) {
                return;
            }
            if (opaque) {
                const int32_t from = std::max(x, area.Left);
                const int32_t to = std::min(x + length, area.Right);
                const uint8_t* data = rec + pos + (from - x);
                for (int32_t px = from; px < to; ++px, ++data) {
                    uint8_t* p = dst + std::size_t(px) * 3;
                    if (m_additive) {
                        const int32_t b = int8_t(*data);
                        p[0] = addClamped(p[0], b);
                        p[1] = addClamped(p[1], b);
                        p[2] = addClamped(p[2], b);
                    } else {
                        const Color c = m_colours[*data];
                        p[0] = blueOf(c);
                        p[1] = greenOf(c);
                        p[2] = redOf(c);
                    }
                }
                pos += header & 0xFFFF;
            }
            x += length;
            covered += length;
        }
    }
}

} // namespace zg

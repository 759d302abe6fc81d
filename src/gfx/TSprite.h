#pragma once

#include "gfx/Bitmap24.h"
#include "gfx/Color.h"
#include "gfx/Rect.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zg {

/// A run-length coder for small byte images painted onto 24-bit bitmaps,
/// skipping one transparent byte value.
///
/// Coded block (little-endian): one record per image row, top row first. A
/// record starts with its own size in bytes (4 bytes, this field included),
/// then runs left to right whose lengths add up to the image width. A run is
/// a 4-byte header (low 16 bits: length in pixels; high 16 bits: kind, 1
/// transparent, 2 opaque) followed, for an opaque run only, by one data byte
/// per pixel. An all-transparent row is 8 bytes.
class TSprite {
public:
    static constexpr uint16_t kTransparentRun = 1;
    static constexpr uint16_t kOpaqueRun = 2;

    /// A coder whose colour table is all black. With `additive` an opaque
    /// byte is a signed offset added to each channel of the target pixel;
    /// without, it is an index into the colour table.
    TSprite(bool additive, uint8_t transparent) : m_additive(additive), m_transparent(transparent) {}

    /// Copies the first min(palette size, 255) colours into the colour table;
    /// the remaining entries (at least entry 255) are black.
    void loadColours(std::span<const Color> palette);
    Color colour(uint8_t index) const { return m_colours[index]; }
    bool additive() const { return m_additive; }
    uint8_t transparentValue() const { return m_transparent; }

    /// Codes the width x height byte image whose rows start `stride` bytes
    /// apart. The block is sized by the worst case first and shrunk to fit.
    /// @throws std::invalid_argument for a width above 65,535 or a stride
    ///         smaller than the width.
    std::vector<uint8_t> encode(int32_t width, int32_t height, const uint8_t* image,
                                std::size_t stride) const;

    /// Paints `block`, an image `width` x `height` pixels coded by encode,
    /// with its top-left at (left, top) of `target`, inside `clip` (or the
    /// whole target without one). Painting stops at the block's end, at a
    /// damaged record and at the row's own run total, so any bytes are safe.
    void paint(std::span<const uint8_t> block, Bitmap24& target, const Rect* clip, int32_t height,
               int32_t width, int32_t top, int32_t left) const;

private:
    bool m_additive;
    uint8_t m_transparent;
    std::array<Color, 256> m_colours{};
};

} // namespace zg

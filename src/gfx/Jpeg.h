#pragma once

#include "gfx/Bitmap24.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace zg {

/// Raised for a JPEG stream that cannot be decoded completely (corrupt,
/// truncated or not a JPEG at all). Decoding never ends the process.
class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// An 8-bit palette image: one palette index per pixel, rows top to bottom, no padding.
struct Bitmap8 {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> indices;
    std::vector<Color> palette;

    uint8_t at(int32_t x, int32_t y) const {
        return indices[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

/// Largest picture side we accept; larger images are refused before decoding.
constexpr int32_t kMaxJpegSide = 16384;

/// Decodes a JPEG file held in memory to 24-bit colour.
/// Grey, colour, CMYK and YCCK pictures all come out as colour. A picture the
/// decoder read to the end with only a recoverable warning (stray bytes before
/// a marker, corrupt data it resynchronised after) is accepted.
/// @throws JpegError on any decoding error and when the data ends early
///         (a truncated file counts as corrupt).
Bitmap24 decodeJpeg(std::span<const uint8_t> data);

/// Decodes a JPEG file to at most `colors` palette colours (1..256), as used for textures.
/// @throws JpegError as decodeJpeg.
Bitmap8 decodeJpegPalette(std::span<const uint8_t> data, int colors);

} // namespace zg

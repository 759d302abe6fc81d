#pragma once

#include "gfx/Bitmap24.h"

#include <cstdint>
#include <vector>

namespace zg {

/// Encodes a picture as a baseline colour JPEG file (JFIF, full-resolution
/// colour, optimised Huffman tables) of the given quality (1..100).
/// @pre the picture is not empty.
/// @throws JpegError when the encoder fails (out of memory).
std::vector<uint8_t> encodeJpeg(const Bitmap24& picture, int quality);

} // namespace zg

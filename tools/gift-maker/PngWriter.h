#pragma once

#include "gfx/Bitmap24.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zg::maker {

/// Encodes `picture` as a PNG file image: 8-bit RGB, not interlaced, every
/// row unfiltered, one zlib stream at a fixed compression level, so the same
/// picture always gives the same bytes with the same zlib.
/// @throws std::invalid_argument for an empty picture.
/// @throws std::runtime_error when zlib fails (out of memory).
std::vector<uint8_t> encodePng(const Bitmap24& picture);

/// Writes `bytes` to `path`, replacing it. A file left incomplete by a failed
/// write is removed.
/// @throws ToolError naming the path and the reason.
void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace zg::maker

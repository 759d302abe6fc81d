#pragma once

#include "gfx/JpegErrors.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace zg::jpeg {

/// Sets the compressor's parameters; called after the defaults for the input are set.
using Configure = std::function<void(jpeg_compress_struct&)>;
/// The input row `y`, `components` bytes a pixel in the input colour space.
using RowSource = std::function<const uint8_t*(int32_t y)>;

/// Compresses a width x height picture given row by row into a JPEG file.
/// @throws JpegError when libjpeg fails (bad parameters, out of memory).
std::vector<uint8_t> compress(int32_t width, int32_t height, int components, J_COLOR_SPACE input,
                              const Configure& configure, const RowSource& rows);

} // namespace zg::jpeg

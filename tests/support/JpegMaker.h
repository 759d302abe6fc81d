#pragma once

#include "gfx/Bitmap24.h"

#include <cstdint>
#include <vector>

namespace zg::test {

/// A picture of four soft-coloured quarters (red top left, green top right,
/// blue bottom left, grey-yellow bottom right) with a gentle brightness
/// ramp, smooth enough that JPEG keeps its colours within a few steps.
Bitmap24 quarteredPicture(int32_t width, int32_t height);

/// How a four-channel JPEG stores its inks.
enum class InkForm {
    AdobeCmyk, ///< CMYK with an Adobe marker, inverted (255 = no ink), as Adobe software writes it
    PlainCmyk, ///< CMYK without an Adobe marker, 0 = no ink
    AdobeYcck, ///< YCCK with an Adobe marker, inverted
};

/// `picture` separated into cyan, magenta, yellow and black inks and
/// compressed as a four-channel JPEG file of quality 95 in `form`.
std::vector<uint8_t> encodeInkJpeg(const Bitmap24& picture, InkForm form);

/// `jpeg` with an EXIF segment right after its start marker that records
/// `orientation` in the first image directory, after a camera make entry,
/// in big-endian ("MM") or little-endian ("II") byte order.
std::vector<uint8_t> withExifOrientation(std::vector<uint8_t> jpeg, uint16_t orientation, bool bigEndian);

/// `jpeg` with three stray bytes put before its frame (SOF) marker, which
/// decoders skip with a warning.
std::vector<uint8_t> withStrayBytesBeforeFrame(std::vector<uint8_t> jpeg);

/// The largest difference of any channel between the mean colours of the
/// same 8 x 8 block in two equally sized pictures, over all whole blocks.
int largestBlockColorDifference(const Bitmap24& a, const Bitmap24& b);

} // namespace zg::test

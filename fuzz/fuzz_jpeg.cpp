// Feeds arbitrary bytes to both JPEG decoders and the EXIF orientation
// reader. Anything that is not a complete picture must end in JpegError,
// never in a crash or an exit; the orientation is always 1..8.

#include "gfx/ExifOrientation.h"
#include "gfx/Jpeg.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const int orientation = zg::exifOrientation(bytes);
    if (orientation < 1 || orientation > 8) {
        std::abort();
    }
    try {
        const zg::Bitmap24 picture = zg::decodeJpeg(bytes);
        (void)zg::turnUpright(picture, orientation);
    } catch (const zg::JpegError&) {
    }
    try {
        (void)zg::decodeJpegPalette(bytes, 255);
    } catch (const zg::JpegError&) {
    }
    return 0;
}

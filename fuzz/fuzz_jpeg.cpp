// Feeds arbitrary bytes to both JPEG decoders. Anything that is not a
// complete picture must end in JpegError, never in a crash or an exit.

#include "gfx/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    try {
        (void)zg::decodeJpeg(bytes);
    } catch (const zg::JpegError&) {
    }
    try {
        (void)zg::decodeJpegPalette(bytes, 255);
    } catch (const zg::JpegError&) {
    }
    return 0;
}

#include "support/TestPictures.h"

namespace zg::test {

Bitmap24 gradientPicture(int32_t width, int32_t height) {
    Bitmap24 b(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            b.setPixel(x, y, rgb(uint8_t(x), uint8_t(y), uint8_t((x * y) >> 4)));
        }
    }
    return b;
}

} // namespace zg::test

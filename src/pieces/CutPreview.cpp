#include "pieces/CutPreview.h"

#include <algorithm>

namespace zg {

Bitmap24 renderCutPreview(const Bitmap24& picture, const CutMap& map) {
    Bitmap24 out = picture;
    const int32_t w = std::min(picture.width(), map.Width);
    const int32_t h = std::min(picture.height(), map.Height);
    if (map.Bytes.size() < std::size_t(std::max(map.Width, 0)) * std::size_t(std::max(map.Height, 0))) {
        return out;
    }
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            if (map.at(x, y) == 0) {
                continue;
            }
            const Color c = picture.pixel(x, y);
            // Integer luma, weights summing to 1000.
            const int32_t luma = (299 * redOf(c) + 587 * greenOf(c) + 114 * blueOf(c)) / 1000;
            out.setPixel(x, y, luma >= 128 ? rgb(0, 0, 0) : rgb(255, 255, 255));
        }
    }
    return out;
}

} // namespace zg

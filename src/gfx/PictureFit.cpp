#include "gfx/PictureFit.h"

namespace zg {

// Products of picture and area sides are taken in 64 bits: a 16-bit picture
// side times a screen side can pass the 32-bit range.

Point fitPicture(int32_t width, int32_t height, int32_t areaWidth, int32_t areaHeight) {
    if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0) {
        return {};
    }
    const int64_t heightAtFullWidth = int64_t(height) * areaWidth / width;
    if (heightAtFullWidth <= areaHeight) {
        return {areaWidth, int32_t(heightAtFullWidth)};
    }
    // Here height x areaWidth > areaHeight x width, so the width stays below areaWidth.
    return {int32_t(int64_t(width) * areaHeight / height), areaHeight};
}

Rect placePicture(int32_t width, int32_t height, int32_t areaWidth, int32_t areaHeight,
                  int32_t marginPercent) {
    const Point fitted = fitPicture(width, height, areaWidth, areaHeight);
    if (fitted.X <= 0 || fitted.Y <= 0) {
        return {};
    }
    Rect target = Rect::fromSize((areaWidth - fitted.X) / 2, (areaHeight - fitted.Y) / 2, fitted.X, fitted.Y);
    if (target.Left < int64_t(areaWidth) * marginPercent / 100) {
        target.Left = 0;
        target.Right = areaWidth;
    }
    if (target.Top < int64_t(areaHeight) * marginPercent / 100) {
        target.Top = 0;
        target.Bottom = areaHeight;
    }
    return target;
}

} // namespace zg

#include "pieces/TRotate.h"

#include <cstring>
#include <stdexcept>

namespace zg {

namespace {

/// Checks the block and the result's place; returns the turned size.
template <class Bitmap>
Point checkedResult(const Bitmap& source, const Rect& from, const Bitmap& target, Point to, int32_t k) {
    if (from.isEmpty() || !source.bounds().contains(from)) {
        throw std::out_of_range("the block to turn lies outside its bitmap");
    }
    const Point size = TRotate::turnedSize(from.width(), from.height(), k);
    if (!target.bounds().contains(Rect::fromSize(to.X, to.Y, size.X, size.Y))) {
        throw std::out_of_range("the turned block does not fit its target");
    }
    return size;
}

/// The source pixel that lands on the result pixel (dx, dy) of a w x h block.
inline Point sourceOf(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t k) {
    switch (k) {
    case 1:
        return {dy, h - 1 - dx};
    case 2:
        return {w - 1 - dx, h - 1 - dy};
    case 3:
        return {w - 1 - dy, dx};
    default:
        return {dx, dy};
    }
}

} // namespace

void TRotate::turn(const Bitmap24& source, const Rect& from, Bitmap24& target, Point to, int32_t k) {
    k &= 3;
    const Point size = checkedResult(source, from, target, to, k);
    const int32_t w = from.width();
    const int32_t h = from.height();
    for (int32_t dy = 0; dy < size.Y; ++dy) {
        uint8_t* out = target.row(to.Y + dy) + std::size_t(to.X) * 3;
        if (k == 0 || k == 2) {
            const int32_t sy = k == 0 ? dy : h - 1 - dy;
            const uint8_t* in = source.row(from.Top + sy) + std::size_t(from.Left) * 3;
            if (k == 0) {
                std::memcpy(out, in, std::size_t(w) * 3);
            } else {
                for (int32_t dx = 0; dx < w; ++dx) {
                    std::memcpy(out + 3 * dx, in + 3 * (w - 1 - dx), 3);
                }
            }
            continue;
        }
        // Odd turns read a source column for every result row.
        const int32_t sx = from.Left + (k == 1 ? dy : w - 1 - dy);
        for (int32_t dx = 0; dx < size.X; ++dx) {
            const int32_t sy = from.Top + (k == 1 ? h - 1 - dx : dx);
            std::memcpy(out + 3 * dx, source.row(sy) + std::size_t(sx) * 3, 3);
        }
    }
}

void TRotate::turn(const Bitmap1& source, const Rect& from, Bitmap1& target, Point to, int32_t k) {
    k &= 3;
    const Point size = checkedResult(source, from, target, to, k);
    const int32_t w = from.width();
    const int32_t h = from.height();
    for (int32_t dy = 0; dy < size.Y; ++dy) {
        uint8_t* out = target.row(to.Y + dy);
        for (int32_t dx = 0; dx < size.X; ++dx) {
            const Point s = sourceOf(dx, dy, w, h, k);
            const int32_t sx = from.Left + s.X;
            const bool white = (source.row(from.Top + s.Y)[sx >> 3] & (0x80 >> (sx & 7))) != 0;
            const int32_t x = to.X + dx;
            const uint8_t bit = uint8_t(0x80 >> (x & 7));
            out[x >> 3] = white ? uint8_t(out[x >> 3] | bit) : uint8_t(out[x >> 3] & ~bit);
        }
    }
}

} // namespace zg

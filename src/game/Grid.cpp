#include "game/Grid.h"

#include "files/GiftError.h"

namespace zg {

GridSize computeGrid(uint32_t width, uint32_t height, uint32_t requested) {
    // The first cell size is always accepted, so a request beyond what 8-pixel
    // cells allow settles on n = 8. Products are taken in 64 bits.
    uint64_t best = UINT64_MAX;
    uint32_t n = 8;
    for (;; ++n) {
        if (n > 512) {
            n = 513;
            break;
        }
        const uint64_t c = (uint64_t(width) + n / 2) / n;
        const uint64_t r = (uint64_t(height) + n / 2) / n;
        const uint64_t cells = c * r;
        const uint64_t d = cells > requested ? cells - requested : requested - cells;
        if (d > best) {
            --n;
            break;
        }
        best = d;
    }
    const uint64_t cols = (uint64_t(width) + n / 2) / n;
    const uint64_t rows = (uint64_t(height) + n / 2) / n;
    if (cols == 0 || rows == 0 || cols * rows > kMaxPieceCount) {
        throw GiftDamagedError();
    }
    return {uint16_t(cols), uint16_t(rows), int32_t(n)};
}

} // namespace zg

#pragma once

#include <cstdint>

namespace zg {

/// The game's one random generator: a 32-bit linear congruential generator.
/// Every random choice of the game draws from it, in a fixed order, so the
/// same seed always gives the same cut and the same scatter. It is never
/// seeded from the clock.
class RandomGenerator {
public:
    /// The state; set it to the puzzle's seed before cutting.
    uint32_t RandSeed = 0;

    /// Advances the state and returns a value 0..n-1 (0 when n is 0; the state
    /// still advances): the high 32 bits of the 64-bit product state * n.
    uint32_t Random(uint32_t n) {
        RandSeed = RandSeed * 134775813u + 1u;
        return uint32_t((uint64_t(RandSeed) * n) >> 32);
    }

    /// Random(n) for a signed range; a range of 0 or less draws Random(0), which
    /// returns 0 but keeps the order of draws.
    int32_t randomRange(int64_t n) {
        return int32_t(Random(n <= 0 ? 0u : n > int64_t(UINT32_MAX) ? UINT32_MAX : uint32_t(n)));
    }
};

} // namespace zg

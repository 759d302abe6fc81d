#pragma once

// Finding runs of equal bytes eight bytes at a time, for the scanline fills
// over cut maps, where most rows are long runs of one value.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zg::byteruns {

static_assert(std::endian::native == std::endian::little, "byte order is pixel order in the word scans");

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
constexpr uint64_t kHigh = 0x8080808080808080ull;

inline uint64_t load8(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

/// The high bit of every byte of `v` that is 0, and no other bit.
constexpr uint64_t zeroBytes(uint64_t v) {
    return ~(((v & kLow7) + kLow7) | v | kLow7);
}

/// The high bit of every byte of `v` that equals `value`.
constexpr uint64_t equalBytes(uint64_t v, uint8_t value) {
    return zeroBytes(v ^ (kOnes * value));
}

/// The high bit of every byte of `v` that differs from `value`.
constexpr uint64_t otherBytes(uint64_t v, uint8_t value) {
    return ~equalBytes(v, value) & kHigh;
}

/// The offset (0..7) of the first and the last byte flagged in `flags`.
/// @pre flags != 0
inline std::size_t firstFlagged(uint64_t flags) {
    return std::size_t(std::countr_zero(flags)) >> 3;
}
inline std::size_t lastFlagged(uint64_t flags) {
    return std::size_t(63 - std::countl_zero(flags)) >> 3;
}

/// One bit per byte of the sixteen at `p` that equals `value` (bit i for
/// byte i); 0 when there is no vector unit to ask.
#if defined(__SSE2__)
constexpr bool kHasBytes16 = true;
inline uint32_t equalBytes16(const uint8_t* p, uint8_t value) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(char(value)))));
}
#else
constexpr bool kHasBytes16 = false;
inline uint32_t equalBytes16(const uint8_t*, uint8_t) {
    return 0;
}
#endif

/// The first index in [from, end) whose byte equals `value`, or `end`.
inline std::size_t findByte(const uint8_t* p, std::size_t from, std::size_t end, uint8_t value) {
    std::size_t k = from;
    if constexpr (kHasBytes16) {
        for (; k + 16 <= end; k += 16) {
            if (const uint32_t f = equalBytes16(p + k, value); f != 0) {
                return k + std::size_t(std::countr_zero(f));
            }
        }
    }
    for (; k + 8 <= end; k += 8) {
        if (const uint64_t f = equalBytes(load8(p + k), value); f != 0) {
            return k + firstFlagged(f);
        }
    }
    while (k < end && p[k] != value) {
        ++k;
    }
    return k;
}

/// The first index in [from, end) whose byte differs from `value`, or `end`.
inline std::size_t findOtherByte(const uint8_t* p, std::size_t from, std::size_t end, uint8_t value) {
    std::size_t k = from;
    if constexpr (kHasBytes16) {
        for (; k + 16 <= end; k += 16) {
            if (const uint32_t f = ~equalBytes16(p + k, value) & 0xFFFFu; f != 0) {
                return k + std::size_t(std::countr_zero(f));
            }
        }
    }
    for (; k + 8 <= end; k += 8) {
        if (const uint64_t f = otherBytes(load8(p + k), value); f != 0) {
            return k + firstFlagged(f);
        }
    }
    while (k < end && p[k] == value) {
        ++k;
    }
    return k;
}

/// The last index in [from, end) whose byte equals `value`, or `end`.
inline std::size_t findLastByte(const uint8_t* p, std::size_t from, std::size_t end, uint8_t value) {
    std::size_t k = end;
    for (; k >= from + 8; k -= 8) {
        if (const uint64_t f = equalBytes(load8(p + k - 8), value); f != 0) {
            return k - 8 + lastFlagged(f);
        }
    }
    while (k > from) {
        if (p[--k] == value) {
            return k;
        }
    }
    return end;
}

/// The first index of the run of `value` bytes that ends at `at` (inclusive),
/// not going below `begin`; at + 1 when p[at] differs from `value`.
inline std::size_t runStart(const uint8_t* p, std::size_t begin, std::size_t at, uint8_t value) {
    std::size_t k = at + 1;
    for (; k >= begin + 8; k -= 8) {
        if (const uint64_t f = otherBytes(load8(p + k - 8), value); f != 0) {
            return k - 8 + lastFlagged(f) + 1;
        }
    }
    while (k > begin && p[k - 1] == value) {
        --k;
    }
    return k;
}

/// One bit per byte of the 64 at `p` that is 0, bit i for byte i.
inline uint64_t zeroMask64(const uint8_t* p) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    uint64_t mask = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        mask |= uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)))) << (16 * k);
    }
    return mask;
#else
    uint64_t mask = 0;
    for (int k = 0; k < 8; ++k) {
        // Bit 8j for byte j, gathered into bits 56..63 in byte order.
        const uint64_t flags = zeroBytes(load8(p + 8 * k)) >> 7;
        mask |= ((flags * 0x0102040810204080ull) >> 56) << (8 * k);
    }
    return mask;
#endif
}

/// One bit per byte of the `n` (below 64) at `p` that is 0.
inline uint64_t zeroMaskShort(const uint8_t* p, std::size_t n) {
    uint64_t mask = 0;
    for (std::size_t i = 0; i < n; ++i) {
        mask |= uint64_t(p[i] == 0) << i;
    }
    return mask;
}

/// Calls visit(first, last) for every run of 0 bytes in [0, w), left to right.
template <class Visit> void forEachZeroRun(const uint8_t* p, std::size_t w, Visit&& visit) {
    bool open = false;
    std::size_t start = 0;
    for (std::size_t base = 0; base < w; base += 64) {
        const uint64_t mask = base + 64 <= w ? zeroMask64(p + base) : zeroMaskShort(p + base, w - base);
        // A bit where the byte differs from the one before it: runs start and end there.
        for (uint64_t edges = mask ^ ((mask << 1) | uint64_t(open)); edges != 0; edges &= edges - 1) {
            const std::size_t at = base + std::size_t(std::countr_zero(edges));
            if (open) {
                visit(start, at - 1);
            } else {
                start = at;
            }
            open = !open;
        }
    }
    if (open) {
        visit(start, w - 1);
    }
}

/// The number of runs of 0 bytes in [0, w).
inline std::size_t countZeroRuns(const uint8_t* p, std::size_t w) {
    std::size_t count = 0;
    uint64_t carry = 0;
    for (std::size_t base = 0; base < w; base += 64) {
        const uint64_t mask = base + 64 <= w ? zeroMask64(p + base) : zeroMaskShort(p + base, w - base);
        count += std::size_t(std::popcount(mask & ~((mask << 1) | carry)));
        carry = mask >> 63;
    }
    return count;
}

} // namespace zg::byteruns

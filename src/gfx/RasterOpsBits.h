#pragma once

// Helpers shared by the block transfers that work on whole mask bytes: a mask
// byte covers eight pixels, so most transfers handle eight pixels per step.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zg::rasterbits {

/// For every mask byte, the AND mask of the eight 24-bit pixels it covers:
/// 0xFF in the three channels of a white (set) pixel, 0x00 for a black one.
using ExpandedMask = std::array<std::array<uint8_t, 24>, 256>;

constexpr ExpandedMask makeExpandedMask() {
    ExpandedMask table{};
    for (int bits = 0; bits < 256; ++bits) {
        for (int i = 0; i < 8; ++i) {
            const uint8_t m = (bits & (0x80 >> i)) != 0 ? 0xFF : 0x00;
            table[std::size_t(bits)][std::size_t(i * 3)] = m;
            table[std::size_t(bits)][std::size_t(i * 3 + 1)] = m;
            table[std::size_t(bits)][std::size_t(i * 3 + 2)] = m;
        }
    }
    return table;
}

inline constexpr ExpandedMask kExpandedMask = makeExpandedMask();

inline uint64_t load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

inline void store64(uint8_t* p, uint64_t v) {
    std::memcpy(p, &v, 8);
}

/// Sixteen bytes as one value, so the compiler can use vector registers.
using Bytes16 = uint8_t __attribute__((vector_size(16)));

inline Bytes16 load128(const uint8_t* p) {
    Bytes16 v;
    std::memcpy(&v, p, 16);
    return v;
}

inline void store128(uint8_t* p, Bytes16 v) {
    std::memcpy(p, &v, 16);
}

/// The eight mask bits starting at column x of a mask row of `rowBytes`
/// bytes, the first one in the top bit. Columns outside the row (x may be
/// negative) read as white, so they leave a target unchanged under AND.
inline uint8_t maskBitsAt(const uint8_t* row, std::size_t rowBytes, int64_t x) {
    const int64_t i = x >> 3; // floor division, also for negative x
    const int shift = int(x & 7);
    const unsigned hi = i >= 0 && std::size_t(i) < rowBytes ? row[i] : 0xFFu;
    const unsigned lo = i + 1 >= 0 && std::size_t(i + 1) < rowBytes ? row[i + 1] : 0xFFu;
    return uint8_t(((hi << 8 | lo) << shift) >> 8);
}

/// The mask byte for the eight pixels of a transfer starting at column x,
/// read directly when x is on a byte boundary.
inline uint8_t maskByteFor(const uint8_t* row, std::size_t rowBytes, int32_t x) {
    return (x & 7) == 0 ? row[x >> 3] : maskBitsAt(row, rowBytes, x);
}

} // namespace zg::rasterbits

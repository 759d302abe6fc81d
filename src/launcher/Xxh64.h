#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zg::bundle {

/// The 64-bit xxHash of a byte stream (seed 0), fed in pieces of any size.
/// The bundle names its files' contents with it: fast enough to check every
/// unpacked file at each start, and sure to notice a damaged or changed file.
class Xxh64 {
public:
    void update(std::span<const uint8_t> bytes);
    uint64_t digest() const;

    static uint64_t of(std::span<const uint8_t> bytes) {
        Xxh64 h;
        h.update(bytes);
        return h.digest();
    }

private:
    void consumeStripe(const uint8_t* p);

    uint64_t m_acc[4] = {0x9E3779B185EBCA87ull + 0xC2B2AE3D27D4EB4Full, 0xC2B2AE3D27D4EB4Full, 0,
                         0 - 0x9E3779B185EBCA87ull};
    uint8_t m_buffer[32] = {};
    std::size_t m_buffered = 0;
    uint64_t m_total = 0;
};

} // namespace zg::bundle

#include "launcher/Xxh64.h"

#include <cstring>

namespace zg::bundle {

namespace {

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ull;
constexpr uint64_t kPrime4 = 0x85EBCA77C2B2AE63ull;
constexpr uint64_t kPrime5 = 0x27D4EB2F165667C5ull;

uint64_t rotl(uint64_t x, int r) {
    return (x << r) | (x >> (64 - r));
}

uint64_t read64(const uint8_t* p) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

uint32_t read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint64_t round(uint64_t acc, uint64_t input) {
    acc += input * kPrime2;
    acc = rotl(acc, 31);
    return acc * kPrime1;
}

uint64_t mergeRound(uint64_t acc, uint64_t value) {
    acc ^= round(0, value);
    return acc * kPrime1 + kPrime4;
}

} // namespace

void Xxh64::consumeStripe(const uint8_t* p) {
    for (int lane = 0; lane < 4; ++lane) {
        m_acc[lane] = round(m_acc[lane], read64(p + 8 * lane));
    }
}

void Xxh64::update(std::span<const uint8_t> bytes) {
    const uint8_t* p = bytes.data();
    std::size_t left = bytes.size();
    m_total += left;
    if (m_buffered > 0) {
        const std::size_t take = std::min(left, sizeof m_buffer - m_buffered);
        std::memcpy(m_buffer + m_buffered, p, take);
        m_buffered += take;
        p += take;
        left -= take;
        if (m_buffered < sizeof m_buffer) {
            return;
        }
        consumeStripe(m_buffer);
        m_buffered = 0;
    }
    while (left >= 32) {
        consumeStripe(p);
        p += 32;
        left -= 32;
    }
    if (left > 0) {
        std::memcpy(m_buffer, p, left);
        m_buffered = left;
    }
}

uint64_t Xxh64::digest() const {
    uint64_t h = 0;
    if (m_total >= 32) {
        h = rotl(m_acc[0], 1) + rotl(m_acc[1], 7) + rotl(m_acc[2], 12) + rotl(m_acc[3], 18);
        for (const uint64_t acc : m_acc) {
            h = mergeRound(h, acc);
        }
    } else {
        h = kPrime5;
    }
    h += m_total;
    const uint8_t* p = m_buffer;
    std::size_t left = m_buffered;
    while (left >= 8) {
        h ^= round(0, read64(p));
        h = rotl(h, 27) * kPrime1 + kPrime4;
        p += 8;
        left -= 8;
    }
    if (left >= 4) {
        h ^= uint64_t(read32(p)) * kPrime1;
        h = rotl(h, 23) * kPrime2 + kPrime3;
        p += 4;
        left -= 4;
    }
    while (left > 0) {
        h ^= *p * kPrime5;
        h = rotl(h, 11) * kPrime1;
        ++p;
        --left;
    }
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return h;
}

} // namespace zg::bundle

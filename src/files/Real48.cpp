#include "files/Real48.h"

#include <cmath>

namespace zg {

namespace {
constexpr int kBias = 129;
constexpr double kFractionScale = 549755813888.0; // 2^39
constexpr uint64_t kFractionLimit = uint64_t(1) << 39;
} // namespace

Real48 toReal48(double value) {
    Real48 out{};
    if (!std::isfinite(value) || value == 0.0) {
        return out;
    }
    const bool negative = std::signbit(value);
    int exponent2 = 0;
    // |value| = m * 2^exponent2 with m in [0.5, 1), that is (2m) * 2^(exponent2 - 1).
    const double m = std::frexp(std::fabs(value), &exponent2);
    int exponent = exponent2 - 1 + kBias;
    // (2m - 1) * 2^39 is exact in a double; round() takes halves away from zero.
    uint64_t fraction = uint64_t(std::round((2.0 * m - 1.0) * kFractionScale));
    if (fraction >= kFractionLimit) {
        fraction = 0;
        ++exponent;
    }
    if (exponent <= 0) {
        return out;
    }
    if (exponent > 255) {
        exponent = 255;
        fraction = kFractionLimit - 1;
    }
    out[0] = uint8_t(exponent);
    for (int i = 0; i < 5; ++i) {
        out[std::size_t(1 + i)] = uint8_t(fraction >> (8 * i));
    }
    out[5] = uint8_t((out[5] & 0x7F) | (negative ? 0x80 : 0));
    return out;
}

double fromReal48(std::span<const uint8_t, 6> bytes) {
    if (bytes[0] == 0) {
        return 0.0;
    }
    uint64_t fraction = 0;
    for (int i = 4; i >= 0; --i) {
        fraction = (fraction << 8) | bytes[std::size_t(1 + i)];
    }
    fraction &= kFractionLimit - 1;
    const double magnitude = std::ldexp(1.0 + double(fraction) / kFractionScale, int(bytes[0]) - kBias);
    return (bytes[5] & 0x80) != 0 ? -magnitude : magnitude;
}

} // namespace zg

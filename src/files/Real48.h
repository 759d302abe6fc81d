#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zg {

/// The 6-byte real of the saved game: byte 0 is the exponent biased by 129
/// (0 means the value 0), bytes 1..5 a 39-bit fraction, least significant
/// byte first, and the top bit of byte 5 the sign.
using Real48 = std::array<uint8_t, 6>;

/// `value` as a Real48. The fraction is rounded to nearest, halves away from
/// zero; a fraction that rounds up to a whole carries into the exponent.
/// Values too small for the exponent become 0; values too large clamp to the
/// largest Real48 of their sign. NaN and infinities are written as 0, so a
/// save never fails halfway over one number.
Real48 toReal48(double value);

/// The value of a Real48; exponent byte 0 gives 0.
double fromReal48(std::span<const uint8_t, 6> bytes);

} // namespace zg

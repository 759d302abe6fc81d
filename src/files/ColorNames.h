#pragma once

#include "gfx/Color.h"

#include <optional>
#include <string>
#include <string_view>

namespace zg {

/// The value of "clNone".
constexpr Color kColorNone = 0x1FFFFFFF;

/// Reads a colour as the gift's message boxes name it: a name from the colour
/// table ("clWindow", "clRed", ...) in any letter case, or an integer taken as
/// the colour value itself, either decimal (optionally signed, 32-bit signed
/// range) or hexadecimal after a "$" (at most eight digits).
/// @return nullopt for anything else, including empty text and surrounding spaces.
std::optional<Color> colorFromName(std::string_view text);

/// The table name of a colour value ("clWindow" for 0x80000005), or nullopt
/// when the table has none. Direct colours that share a value with no other
/// name map back to their own name.
std::optional<std::string> colorName(Color value);

/// A colour for people: "$80000005 (clWindow)", or "$00123456" without a name.
std::string describeColor(Color value);

} // namespace zg

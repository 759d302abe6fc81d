#pragma once

#include "files/GiftInfo.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zg::maker {

// Readers for option values. Each throws UsageError naming `option` when the
// value is not of the expected form.

/// A whole number in [min, max], decimal or hexadecimal after "$" or "0x".
int64_t parseInteger(std::string_view option, std::string_view text, int64_t min, int64_t max);

/// A colour name from the colour table, "$" hex or a decimal integer.
uint32_t parseColor(std::string_view option, std::string_view text);

/// A piece style: classic, blip, squares, stars, bubbles, mixture (any case) or 1..6.
int32_t parseStyle(std::string_view option, std::string_view text);

/// A piece outline: none, paper, card, wood (any case) or 0..3.
int32_t parseOutline(std::string_view option, std::string_view text);

/// A message alignment: left, right, center or centre.
uint8_t parseAlign(std::string_view option, std::string_view text);

/// on/off, yes/no, true/false or 1/0.
bool parseSwitch(std::string_view option, std::string_view text);

/// A font pitch: default, variable or fixed.
uint8_t parsePitch(std::string_view option, std::string_view text);

/// "NAME[,HEIGHT[,STYLE]]" into `font`, keeping its colour and pitch: HEIGHT is
/// a signed pixel height (negative: without internal leading), STYLE any of
/// the letters b (bold), i (italic), u (underline), s (strike-out). Parts left
/// out keep their current values; an empty STYLE means regular.
void parseFont(std::string_view option, std::string_view text, TGiftFont& font);

// Names for the info listing.
std::string styleName(int32_t style);
std::string outlineName(int32_t outline);
std::string alignName(uint8_t align);
std::string pitchName(uint8_t pitch);
std::string fontStyleNames(uint8_t style);

} // namespace zg::maker

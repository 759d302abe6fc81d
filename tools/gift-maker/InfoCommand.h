#pragma once

#include "files/GiftInfo.h"

#include <ostream>
#include <string>
#include <string_view>

namespace zg::maker {

/// Writes every trailer field as a "Name: value" line, in the trailer's order
/// (fonts as StartFont.Color and so on). Texts are shown on one line with
/// backslash escapes: "\r" and "\n" for the line breaks, "\\" for a
/// backslash and "\xHH" for other control characters. Numbers that stand for
/// a choice are followed by its name in brackets, colours by their table name.
void printGiftInfo(const TGiftInfo& info, std::ostream& out);

/// A text with the escapes printGiftInfo uses.
std::string escapeText(std::string_view text);

/// `gift-maker info GIFT`: prints the trailer of the gift at `path`.
/// @throws GiftDamagedError for a damaged gift, std::runtime_error when the file cannot be read.
void runInfo(const std::string& path, std::ostream& out);

} // namespace zg::maker

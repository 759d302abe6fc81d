#pragma once

#include "files/GiftInfo.h"
#include "ui/TSplashForm.h"

#include <string>

namespace zg {

/// The toolkit font of a gift message font: colour aside, its height, pitch,
/// style bits and face name, in that order.
QFont giftFont(const TGiftFont& font);

/// How a start or end message shows: its font and text colour, the box colour
/// named by `backgroundName` (none when the name is invalid) and `align`.
MessageLook giftMessageLook(const TGiftFont& font, const std::string& backgroundName, uint8_t align);

/// A gift text block (CR LF lines) as the toolkit's plain text.
QString giftMessageText(const std::string& text);

} // namespace zg

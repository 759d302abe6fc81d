#include "ui/GiftLook.h"

#include "files/ColorNames.h"
#include "ui/FontMapping.h"
#include "ui/SystemColors.h"

namespace zg {

QFont giftFont(const TGiftFont& font) {
    const QString family = QString::fromStdString(font.Name);
    QFont result(family);
    result.setPixelSize(fontPixelSize(family, font.Height));
    if (font.Pitch == kPitchFixed) {
        result.setFixedPitch(true);
        result.setStyleHint(QFont::TypeWriter);
    }
    result.setBold((font.Style & kFontBold) != 0);
    result.setItalic((font.Style & kFontItalic) != 0);
    result.setUnderline((font.Style & kFontUnderline) != 0);
    result.setStrikeOut((font.Style & kFontStrikeOut) != 0);
    return result;
}

MessageLook giftMessageLook(const TGiftFont& font, const std::string& backgroundName, uint8_t align) {
    MessageLook look;
    look.font = giftFont(font);
    look.textColor = toQColor(font.Color);
    if (const std::optional<Color> background = colorFromName(backgroundName)) {
        look.background = toQColor(*background);
    }
    look.alignment = align;
    return look;
}

QString giftMessageText(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

} // namespace zg

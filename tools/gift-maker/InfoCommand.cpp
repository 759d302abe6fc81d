#include "InfoCommand.h"

#include "OptionValues.h"
#include "files/ColorNames.h"
#include "files/GiftError.h"
#include "files/GiftFile.h"
#include "launcher/GiftLayout.h"

#include <cstdio>

namespace zg::maker {
namespace {

std::string withName(long long value, const std::string& name) {
    return std::to_string(value) + " (" + name + ")";
}

void printFont(std::ostream& out, const std::string& prefix, const TGiftFont& font) {
    out << prefix << ".Color: " << describeColor(font.Color) << '\n';
    out << prefix << ".Height: " << font.Height << '\n';
    out << prefix << ".Pitch: " << withName(font.Pitch, pitchName(font.Pitch)) << '\n';
    out << prefix << ".Style: " << withName(font.Style, fontStyleNames(font.Style)) << '\n';
    out << prefix << ".Name: " << escapeText(font.Name) << '\n';
}

} // namespace

std::string escapeText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (uint8_t(c) < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(uint8_t(c)));
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

void printGiftInfo(const TGiftInfo& info, std::ostream& out) {
    out << "TrailerSize: " << info.TrailerSize << '\n';
    out << "PictureOffset: " << info.PictureOffset << '\n';
    out << "PictureLength: " << info.PictureLength << '\n';
    out << "MusicOffset: " << info.MusicOffset << '\n';
    out << "MusicLength: " << info.MusicLength << '\n';
    out << "MakerVersion: " << escapeText(info.MakerVersion) << '\n';
    out << "Created: " << formatGiftDate(info.Created) << '\n';
    out << "Title: " << escapeText(info.Title) << '\n';
    out << "Creator: " << escapeText(info.Creator) << '\n';
    out << "Description: " << escapeText(info.Description) << '\n';
    out << "BackgroundColor: " << describeColor(info.BackgroundColor) << '\n';
    out << "RequestedPieces: " << info.RequestedPieces << '\n';
    out << "Oddness: " << info.Oddness << '\n';
    out << "Seed: " << info.Seed << '\n';
    out << "StartMessage: " << escapeText(info.StartMessage) << '\n';
    out << "EndMessage: " << escapeText(info.EndMessage) << '\n';
    printFont(out, "StartFont", info.StartFont);
    printFont(out, "EndFont", info.EndFont);
    out << "StartBackground: " << escapeText(info.StartBackground) << '\n';
    out << "EndBackground: " << escapeText(info.EndBackground) << '\n';
    out << "StartAlign: " << withName(info.StartAlign, alignName(info.StartAlign)) << '\n';
    out << "EndAlign: " << withName(info.EndAlign, alignName(info.EndAlign)) << '\n';
    out << "Style: " << withName(info.Style, styleName(info.Style)) << '\n';
    out << "OutlineStyle: " << withName(info.OutlineStyle, outlineName(info.OutlineStyle)) << '\n';
    out << "RotationOn: " << withName(info.RotationOn, info.RotationOn != 0 ? "on" : "off") << '\n';
}

void runInfo(const std::string& path, std::ostream& out) {
    const GiftFile gift = GiftFile::open(path);
    std::optional<bundle::GiftLayout> layout;
    try {
        layout = bundle::inspectGift(path);
    } catch (const bundle::DamagedGiftError&) {
        throw GiftDamagedError();
    }
    if (layout->portable()) {
        out << "Kind: portable (runs without installed libraries; bundle of " << layout->bundle->contentSize
            << " bytes, " << layout->bundle->dataLength << " compressed)\n";
    } else {
        out << "Kind: system-libraries (needs Qt 6, SDL2_mixer and a soundfont installed)\n";
    }
    printGiftInfo(gift.info(), out);
}

} // namespace zg::maker

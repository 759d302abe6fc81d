#include "files/ColorNames.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>

namespace zg {
namespace {

struct NamedColor {
    std::string_view name;
    Color value;
};

constexpr Color sys(uint32_t n) {
    return kSystemColorFlag + n;
}

constexpr std::array<NamedColor, 42> kColorTable = {{
    {"clBlack", 0x000000},         {"clMaroon", 0x000080},        {"clGreen", 0x008000},
    {"clOlive", 0x008080},         {"clNavy", 0x800000},          {"clPurple", 0x800080},
    {"clTeal", 0x808000},          {"clGray", 0x808080},          {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},           {"clLime", 0x00FF00},          {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},          {"clFuchsia", 0xFF00FF},       {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},         {"clScrollBar", sys(0)},       {"clBackground", sys(1)},
    {"clActiveCaption", sys(2)},   {"clInactiveCaption", sys(3)}, {"clMenu", sys(4)},
    {"clWindow", sys(5)},          {"clWindowFrame", sys(6)},     {"clMenuText", sys(7)},
    {"clWindowText", sys(8)},      {"clCaptionText", sys(9)},     {"clActiveBorder", sys(10)},
    {"clInactiveBorder", sys(11)}, {"clAppWorkSpace", sys(12)},   {"clHighlight", sys(13)},
    {"clHighlightText", sys(14)},  {"clBtnFace", sys(15)},        {"clBtnShadow", sys(16)},
    {"clGrayText", sys(17)},       {"clBtnText", sys(18)},        {"clInactiveCaptionText", sys(19)},
    {"clBtnHighlight", sys(20)},   {"cl3DDkShadow", sys(21)},     {"cl3DLight", sys(22)},
    {"clInfoText", sys(23)},       {"clInfoBk", sys(24)},         {"clNone", kColorNone},
}};

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<Color> parseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return Color(value);
}

std::optional<Color> parseDecimal(std::string_view text) {
    // from_chars accepts a leading '-' but not '+'.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return Color(uint32_t(value));
}

} // namespace

std::optional<Color> colorFromName(std::string_view text) {
    for (const NamedColor& entry : kColorTable) {
        if (equalsIgnoringCase(entry.name, text)) {
            return entry.value;
        }
    }
    if (!text.empty() && text.front() == '$') {
        return parseHex(text.substr(1));
    }
    return parseDecimal(text);
}

std::optional<std::string> colorName(Color value) {
    for (const NamedColor& entry : kColorTable) {
        if (entry.value == value) {
            return std::string(entry.name);
        }
    }
    return std::nullopt;
}

std::string describeColor(Color value) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%08X", unsigned(value));
    const std::optional<std::string> name = colorName(value);
    return name ? std::string(hex) + " (" + *name + ")" : std::string(hex);
}

} // namespace zg

#include "OptionValues.h"

#include "ToolError.h"
#include "files/ColorNames.h"

#include <array>
#include <charconv>

namespace zg::maker {
namespace {

constexpr std::array<std::string_view, 6> kStyleNames = {"classic", "blip",    "squares",
                                                         "stars",   "bubbles", "mixture"};
constexpr std::array<std::string_view, 6> kStyleTitles = {"Classic", "Blip",    "Squares",
                                                          "Stars",   "Bubbles", "Mixture"};
constexpr std::array<std::string_view, 4> kOutlineNames = {"none", "paper", "card", "wood"};
constexpr std::array<std::string_view, 4> kOutlineTitles = {"None", "Paper", "Card", "Wood"};
constexpr std::array<std::string_view, 3> kAlignNames = {"left", "right", "center"};
constexpr std::array<std::string_view, 3> kPitchNames = {"default", "variable", "fixed"};

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
    }
    return out;
}

[[noreturn]] void bad(std::string_view option, std::string_view text, std::string_view expected) {
    throw UsageError(std::string(option) + ": \"" + std::string(text) + "\" is not " + std::string(expected));
}

template <std::size_t N> int findName(const std::array<std::string_view, N>& names, std::string_view text) {
    const std::string key = lowered(text);
    for (std::size_t i = 0; i < N; ++i) {
        if (names[i] == key) {
            return int(i);
        }
    }
    return -1;
}

bool parseWhole(std::string_view text, int64_t& value) {
    int base = 10;
    if (text.starts_with("$")) {
        text.remove_prefix(1);
        base = 16;
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty() || (base == 16 && text.front() == '-')) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size();
}

} // namespace

int64_t parseInteger(std::string_view option, std::string_view text, int64_t min, int64_t max) {
    int64_t value = 0;
    if (!parseWhole(text, value) || value < min || value > max) {
        bad(option, text, "a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    }
    return value;
}

uint32_t parseColor(std::string_view option, std::string_view text) {
    const std::optional<Color> color = colorFromName(text);
    if (!color) {
        bad(option, text, "a colour (a name such as clWindow or clRed, $BBGGRR hex or a decimal number)");
    }
    return *color;
}

int32_t parseStyle(std::string_view option, std::string_view text) {
    const int index = findName(kStyleNames, text);
    if (index >= 0) {
        return index + 1;
    }
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '6') {
        return text[0] - '0';
    }
    bad(option, text, "a piece style (classic, blip, squares, stars, bubbles, mixture or 1..6)");
}

int32_t parseOutline(std::string_view option, std::string_view text) {
    const int index = findName(kOutlineNames, text);
    if (index >= 0) {
        return index;
    }
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') {
        return text[0] - '0';
    }
    bad(option, text, "an outline (none, paper, card, wood or 0..3)");
}

uint8_t parseAlign(std::string_view option, std::string_view text) {
    if (lowered(text) == "centre") {
        return kAlignCenter;
    }
    const int index = findName(kAlignNames, text);
    if (index < 0) {
        bad(option, text, "an alignment (left, right or center)");
    }
    return uint8_t(index);
}

bool parseSwitch(std::string_view option, std::string_view text) {
    const std::string key = lowered(text);
    if (key == "on" || key == "yes" || key == "true" || key == "1") {
        return true;
    }
    if (key == "off" || key == "no" || key == "false" || key == "0") {
        return false;
    }
    bad(option, text, "on or off");
}

uint8_t parsePitch(std::string_view option, std::string_view text) {
    const int index = findName(kPitchNames, text);
    if (index < 0) {
        bad(option, text, "a pitch (default, variable or fixed)");
    }
    return uint8_t(index);
}

void parseFont(std::string_view option, std::string_view text, TGiftFont& font) {
    const std::size_t firstComma = text.find(',');
    const std::string_view name = text.substr(0, firstComma);
    if (name.empty()) {
        bad(option, text, "a font (NAME[,HEIGHT[,STYLE]], for example \"Arial,-12,b\")");
    }
    TGiftFont result = font;
    result.Name = std::string(name);
    if (firstComma != std::string_view::npos) {
        std::string_view rest = text.substr(firstComma + 1);
        const std::size_t secondComma = rest.find(',');
        const std::string_view height = rest.substr(0, secondComma);
        if (!height.empty()) {
            result.Height = int16_t(parseInteger(option, height, -32768, 32767));
        }
        if (secondComma != std::string_view::npos) {
            result.Style = 0;
            for (char c : rest.substr(secondComma + 1)) {
                switch (c | 0x20) {
                case 'b':
                    result.Style |= kFontBold;
                    break;
                case 'i':
                    result.Style |= kFontItalic;
                    break;
                case 'u':
                    result.Style |= kFontUnderline;
                    break;
                case 's':
                    result.Style |= kFontStrikeOut;
                    break;
                default:
                    bad(option, text, "a font style made of the letters b, i, u and s");
                }
            }
        }
    }
    font = result;
}

std::string styleName(int32_t style) {
    return style >= 1 && style <= 6 ? std::string(kStyleTitles[std::size_t(style - 1)]) : "unknown";
}

std::string outlineName(int32_t outline) {
    return outline >= 0 && outline <= 3 ? std::string(kOutlineTitles[std::size_t(outline)]) : "unknown";
}

std::string alignName(uint8_t align) {
    return align <= 2 ? std::string(kAlignNames[align]) : "unknown";
}

std::string pitchName(uint8_t pitch) {
    return pitch <= 2 ? std::string(kPitchNames[pitch]) : "unknown";
}

std::string fontStyleNames(uint8_t style) {
    std::string names;
    const auto add = [&names](const char* name) { names += names.empty() ? name : std::string(" ") + name; };
    if (style & kFontBold) {
        add("bold");
    }
    if (style & kFontItalic) {
        add("italic");
    }
    if (style & kFontUnderline) {
        add("underline");
    }
    if (style & kFontStrikeOut) {
        add("strike-out");
    }
    return names.empty() ? "regular" : names;
}

} // namespace zg::maker

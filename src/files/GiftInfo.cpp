#include "files/GiftInfo.h"

#include "files/Cp1252.h"
#include "files/GiftError.h"
#include "files/PackedIo.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace zg {
namespace {

std::string readShortString(PackedReader& in, std::size_t capacity) {
    return cp1252ToUtf8(in.shortString(capacity));
}

std::string readTextBlock(PackedReader& in) {
    const std::optional<std::string> raw = in.textBlock();
    if (!raw) {
        throw GiftDamagedError();
    }
    return cp1252ToUtf8(*raw);
}

TGiftFont readFont(PackedReader& in) {
    TGiftFont font;
    font.Color = in.u32();
    font.Height = in.i16();
    font.Pitch = in.u8();
    in.skip(1);
    font.Style = in.u8();
    font.Name = readShortString(in, kFontNameCapacity);
    return font;
}

/// The Windows-1252 bytes of a field, or std::invalid_argument naming it.
std::string encodeField(std::string_view field, std::string_view text, std::size_t capacity) {
    if (const std::optional<std::string> problem = shortStringProblem(text, capacity)) {
        throw std::invalid_argument(std::string(field) + " " + *problem);
    }
    return utf8ToCp1252(text).bytes;
}

std::string encodeBlock(std::string_view field, std::string_view text) {
    if (const std::optional<std::string> problem = textBlockProblem(text)) {
        throw std::invalid_argument(std::string(field) + " " + *problem);
    }
    return utf8ToCp1252(text).bytes;
}

void writeFont(PackedWriter& out, std::string_view field, const TGiftFont& font) {
    out.u32(font.Color);
    out.i16(font.Height);
    out.u8(font.Pitch);
    out.u8(0);
    out.u8(font.Style);
    out.shortString(encodeField(std::string(field) + ".Name", font.Name, kFontNameCapacity),
                    kFontNameCapacity);
}

std::optional<std::string> encodingProblem(const Cp1252Encoding& e) {
    if (e.ok) {
        return std::nullopt;
    }
    if (e.malformed) {
        return std::string("is not valid UTF-8 text");
    }
    return "contains " + codePointName(e.offending) + ", which has no Windows-1252 form";
}

// Civil calendar <-> day numbers (proleptic Gregorian), days counted from 1970-01-01.
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

void civilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = int64_t(yoe) + era * 400 + (m <= 2);
}

const int64_t kGiftEpoch = daysFromCivil(1899, 12, 30);
const int64_t kFirstDay = daysFromCivil(1, 1, 1) - kGiftEpoch;
const int64_t kLastDay = daysFromCivil(9999, 12, 31) - kGiftEpoch;

unsigned daysInMonth(int64_t y, unsigned m) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

/// Reads exactly `width` digits at `pos`.
bool readNumber(std::string_view text, std::size_t& pos, std::size_t width, unsigned& value) {
    if (text.size() - pos < width) {
        return false;
    }
    for (std::size_t i = 0; i < width; ++i) {
        if (text[pos + i] < '0' || text[pos + i] > '9') {
            return false;
        }
    }
    std::from_chars(text.data() + pos, text.data() + pos + width, value);
    pos += width;
    return true;
}

bool expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

TGiftInfo parseGiftInfo(std::span<const uint8_t> trailer) {
    if (trailer.size() != kGiftTrailerSize) {
        throw GiftDamagedError();
    }
    PackedReader in(trailer);
    TGiftInfo info;
    info.TrailerSize = in.u16();
    if (info.TrailerSize != kGiftTrailerSize) {
        throw GiftDamagedError();
    }
    info.PictureOffset = in.u32();
    info.PictureLength = in.u32();
    info.MusicOffset = in.u32();
    info.MusicLength = in.i32();
    info.MakerVersion = readShortString(in, kMakerVersionCapacity);
    info.Created = in.f64();
    info.Title = readShortString(in, kTitleCapacity);
    info.Creator = readShortString(in, kCreatorCapacity);
    info.Description = readTextBlock(in);
    info.BackgroundColor = in.u32();
    info.RequestedPieces = in.u16();
    info.Oddness = std::min<uint16_t>(in.u16(), 10);
    info.Seed = in.u32();
    info.StartMessage = readTextBlock(in);
    info.EndMessage = readTextBlock(in);
    info.StartFont = readFont(in);
    info.EndFont = readFont(in);
    info.StartBackground = readShortString(in, kColorNameCapacity);
    info.EndBackground = readShortString(in, kColorNameCapacity);
    info.StartAlign = std::min(in.u8(), kAlignCenter);
    info.EndAlign = std::min(in.u8(), kAlignCenter);
    info.Style = std::clamp(in.i32(), 1, 6);
    info.OutlineStyle = std::clamp(in.i32(), 0, 3);
    info.RotationOn = in.i32();
    return info;
}

std::array<uint8_t, kGiftTrailerSize> serializeGiftInfo(const TGiftInfo& info) {
    std::vector<uint8_t> bytes;
    bytes.reserve(kGiftTrailerSize);
    PackedWriter out(bytes);
    out.u16(info.TrailerSize);
    out.u32(info.PictureOffset);
    out.u32(info.PictureLength);
    out.u32(info.MusicOffset);
    out.i32(info.MusicLength);
    out.shortString(encodeField("MakerVersion", info.MakerVersion, kMakerVersionCapacity),
                    kMakerVersionCapacity);
    out.f64(info.Created);
    out.shortString(encodeField("Title", info.Title, kTitleCapacity), kTitleCapacity);
    out.shortString(encodeField("Creator", info.Creator, kCreatorCapacity), kCreatorCapacity);
    out.textBlock(encodeBlock("Description", info.Description));
    out.u32(info.BackgroundColor);
    out.u16(info.RequestedPieces);
    out.u16(info.Oddness);
    out.u32(info.Seed);
    out.textBlock(encodeBlock("StartMessage", info.StartMessage));
    out.textBlock(encodeBlock("EndMessage", info.EndMessage));
    writeFont(out, "StartFont", info.StartFont);
    writeFont(out, "EndFont", info.EndFont);
    out.shortString(encodeField("StartBackground", info.StartBackground, kColorNameCapacity),
                    kColorNameCapacity);
    out.shortString(encodeField("EndBackground", info.EndBackground, kColorNameCapacity), kColorNameCapacity);
    out.u8(info.StartAlign);
    out.u8(info.EndAlign);
    out.i32(info.Style);
    out.i32(info.OutlineStyle);
    out.i32(info.RotationOn);

    std::array<uint8_t, kGiftTrailerSize> trailer{};
    if (bytes.size() != trailer.size()) {
        throw std::logic_error("gift trailer layout does not add up");
    }
    std::copy(bytes.begin(), bytes.end(), trailer.begin());
    return trailer;
}

std::optional<std::string> shortStringProblem(std::string_view text, std::size_t capacity) {
    const Cp1252Encoding e = utf8ToCp1252(text);
    if (const std::optional<std::string> problem = encodingProblem(e)) {
        return problem;
    }
    if (e.bytes.size() > capacity) {
        return "is longer than " + std::to_string(capacity) + " characters";
    }
    return std::nullopt;
}

std::optional<std::string> textBlockProblem(std::string_view text) {
    const Cp1252Encoding e = utf8ToCp1252(text);
    if (const std::optional<std::string> problem = encodingProblem(e)) {
        return problem;
    }
    if (e.bytes.find('\0') != std::string::npos) {
        return std::string("contains a zero character");
    }
    if (e.bytes.size() > kTextBlockCapacity) {
        return "is longer than " + std::to_string(kTextBlockCapacity) +
               " characters (each line break counts as two)";
    }
    return std::nullopt;
}

std::array<uint8_t, 1025> encodeTextBlock(std::string_view text) {
    if (const std::optional<std::string> problem = textBlockProblem(text)) {
        throw std::invalid_argument("text " + *problem);
    }
    const std::string bytes = utf8ToCp1252(text).bytes;
    std::array<uint8_t, 1025> block{};
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

std::string toCrLfLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string giftLabelText(std::string_view versionText) {
    return "This free jigsaw gift was created by Zanthoria " + std::string(versionText) +
           ". Click on our web site below and download the free demo to see what else the latest version "
           "can do!  Or order the full-version now!";
}

std::string makerVersionLabel(std::string_view makerVersion) {
    return std::string(makerVersion.substr(0, makerVersion.find('.')));
}

std::string formatGiftDate(double days) {
    if (!std::isfinite(days) || days < double(kFirstDay) || days >= double(kLastDay + 1)) {
        return "invalid date";
    }
    // The whole part is the date and the fraction's size the time, also for
    // negative values (-1.25 is 29 December 1899, 06:00).
    int64_t day = int64_t(std::trunc(days));
    int64_t seconds = std::llround(std::fabs(days - std::trunc(days)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    int64_t y = 0;
    unsigned m = 0;
    unsigned d = 0;
    civilFromDays(day + kGiftEpoch, y, m, d);
    char text[96]; // room for any 64-bit year the arithmetic allows
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld", static_cast<long long>(y), m, d,
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

std::optional<double> parseGiftDate(std::string_view text) {
    std::size_t pos = 0;
    unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!readNumber(text, pos, 4, y) || !expect(text, pos, '-') || !readNumber(text, pos, 2, mo) ||
        !expect(text, pos, '-') || !readNumber(text, pos, 2, d)) {
        return std::nullopt;
    }
    if (pos < text.size()) {
        if (!(expect(text, pos, ' ') || expect(text, pos, 'T')) || !readNumber(text, pos, 2, h) ||
            !expect(text, pos, ':') || !readNumber(text, pos, 2, mi)) {
            return std::nullopt;
        }
        if (pos < text.size() && (!expect(text, pos, ':') || !readNumber(text, pos, 2, s))) {
            return std::nullopt;
        }
    }
    if (pos != text.size() || y < 1 || mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 ||
        mi > 59 || s > 59) {
        return std::nullopt;
    }
    const int64_t day = daysFromCivil(y, mo, d) - kGiftEpoch;
    const double time = double(h * 3600 + mi * 60 + s) / 86400.0;
    return day < 0 ? double(day) - time : double(day) + time;
}

} // namespace zg

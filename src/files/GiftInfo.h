#pragma once

#include "gfx/Color.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zg {

/// Size in bytes of the trailer that ends every gift; also the value its first word must hold.
constexpr uint16_t kGiftTrailerSize = 3421;

// Capacities (in one-byte characters) of the trailer's short strings.
constexpr std::size_t kMakerVersionCapacity = 15;
constexpr std::size_t kTitleCapacity = 64;
constexpr std::size_t kCreatorCapacity = 64;
constexpr std::size_t kFontNameCapacity = 31;
constexpr std::size_t kColorNameCapacity = 32;

// TGiftFont::Style bits.
constexpr uint8_t kFontBold = 1;
constexpr uint8_t kFontItalic = 2;
constexpr uint8_t kFontUnderline = 4;
constexpr uint8_t kFontStrikeOut = 8;

// TGiftFont::Pitch values.
constexpr uint8_t kPitchDefault = 0;
constexpr uint8_t kPitchVariable = 1;
constexpr uint8_t kPitchFixed = 2;

// StartAlign / EndAlign values.
constexpr uint8_t kAlignLeft = 0;
constexpr uint8_t kAlignRight = 1;
constexpr uint8_t kAlignCenter = 2;

/// The font of a splash-window message (41 bytes in the trailer; byte 7 is
/// not read and is written as zero).
struct TGiftFont {
    uint32_t Color = 0x80000008;   ///< text colour; clWindowText by default
    int16_t Height = -11;          ///< pixels; negative: character height without internal leading
    uint8_t Pitch = kPitchDefault; ///< 0 default, 1 variable, 2 fixed
    uint8_t Style = 0;             ///< kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut
    std::string Name = "Arial";    ///< face name, UTF-8, at most 31 characters

    bool operator==(const TGiftFont&) const = default;
};

/// The 3,421-byte trailer that describes a gift, held in memory. Texts are
/// UTF-8 (Windows-1252 in the file); the text blocks keep the file's CR LF
/// line separators, so a gift read and written again is unchanged.
/// The defaults are those of a new gift.
struct TGiftInfo {
    uint16_t TrailerSize = kGiftTrailerSize;
    uint32_t PictureOffset = 0;
    uint32_t PictureLength = 0;
    uint32_t MusicOffset = 0;
    int32_t MusicLength = 0;               ///< 0 or less: no music
    std::string MakerVersion = "v2.21";    ///< at most 15 characters
    double Created = 0.0;                  ///< days since 30 December 1899; the fraction is the time of day
    std::string Title;                     ///< at most 64 characters
    std::string Creator;                   ///< at most 64 characters
    std::string Description;               ///< at most 1,024 bytes in the file
    uint32_t BackgroundColor = 0x80000005; ///< board colour (clWindow)
    uint16_t RequestedPieces = 42;
    uint16_t Oddness = 2; ///< 0..10
    uint32_t Seed = 0;
    std::string StartMessage;
    std::string EndMessage;
    TGiftFont StartFont;
    TGiftFont EndFont;
    std::string StartBackground = "clWindow"; ///< colour name, at most 32 characters
    std::string EndBackground = "clWindow";
    uint8_t StartAlign = kAlignCenter; ///< 0 left, 1 right, 2 centred
    uint8_t EndAlign = kAlignCenter;
    int32_t Style = 1;        ///< 1 Classic, 2 Blip, 3 Squares, 4 Stars, 5 Bubbles, 6 Mixture
    int32_t OutlineStyle = 2; ///< 0 None, 1 Paper, 2 Card, 3 Wood
    int32_t RotationOn = 0;   ///< nonzero: rotating pieces on

    bool operator==(const TGiftInfo&) const = default;
};

/// Reads a trailer. Values the player cannot use are brought into range:
/// Style outside 1..6 and OutlineStyle outside 0..3 go to the nearest end,
/// Oddness above 10 becomes 10, an alignment above 2 becomes 2, and a short
/// string whose length byte exceeds its capacity is cut to the capacity.
/// Offsets and lengths are returned as stored; GiftFile checks them against the file.
/// @throws GiftDamagedError when the span is not 3,421 bytes, TrailerSize is
///         not 3421, or a text block has no terminator inside its 1,025 bytes.
TGiftInfo parseGiftInfo(std::span<const uint8_t> trailer);

/// Writes a trailer exactly as the file holds it (TrailerSize as given).
/// @throws std::invalid_argument naming the field when a text has no
///         Windows-1252 form or does not fit its field.
std::array<uint8_t, kGiftTrailerSize> serializeGiftInfo(const TGiftInfo& info);

/// Why UTF-8 `text` cannot be stored in a short string of `capacity`
/// characters ("is longer than 64 characters", "contains U+1F600, which has no
/// Windows-1252 form", ...), or nullopt when it can.
std::optional<std::string> shortStringProblem(std::string_view text, std::size_t capacity);

/// Why UTF-8 `text` cannot be stored in a 1,025-byte text block, or nullopt when it can.
std::optional<std::string> textBlockProblem(std::string_view text);

/// The text block bytes of UTF-8 text, zero-filled to 1,025 bytes.
/// @throws std::invalid_argument when textBlockProblem reports one.
std::array<uint8_t, 1025> encodeTextBlock(std::string_view text);

/// Text with every line break (LF, CR LF or a lone CR) made CR LF, as text blocks store them.
std::string toCrLfLines(std::string_view text);

/// The splash window's gift label for a version text (makerVersionLabel of
/// the gift's MakerVersion; empty when no puzzle was started).
std::string giftLabelText(std::string_view versionText);

/// The version shown in the gift label: MakerVersion cut before its first "."
/// ("v4.04" gives "v4"; text without "." is used whole).
std::string makerVersionLabel(std::string_view makerVersion);

/// A gift date as "YYYY-MM-DD HH:MM:SS", rounded to the second. Negative day
/// counts are dates before 30 December 1899 with the fraction as the time of
/// day. A value outside the years 1..9999 or not finite gives "invalid date".
std::string formatGiftDate(double days);

/// Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" (a "T" may
/// stand for the space) into a gift date. nullopt for anything else or an
/// impossible date or time.
std::optional<double> parseGiftDate(std::string_view text);

} // namespace zg

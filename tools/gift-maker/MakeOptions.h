#pragma once

#include "files/GiftInfo.h"

#include <optional>
#include <string>
#include <vector>

namespace zg::maker {

/// A text option as given: its value, or the file to read it from. `option`
/// is the spelling used on the command line, for messages.
struct TextOption {
    std::string option;
    std::string value;
    bool fromFile = false;
};

/// The longest side a picture is stored with unless asked otherwise: the
/// puzzle of a larger picture does not fit the player's window.
constexpr int32_t kDefaultMaxSide = 1024;

/// Everything the command line of `gift-maker [options] PICTURE -o GIFT` asks for.
/// Non-text trailer fields are parsed already; texts are checked when the
/// gift is made, so a message can name the option that carried them.
struct MakeOptions {
    std::string picturePath;
    std::string outputPath;
    std::optional<std::string> musicPath;
    /// default: zanthoria-gift-portable beside gift-maker, or zanthoria-gift
    /// with `systemLibraries`
    std::optional<std::string> playerPath;
    bool systemLibraries = false;  ///< make a gift that uses the system's libraries
    std::optional<uint32_t> seed;  ///< default: derived from the picture bytes
    std::optional<double> created; ///< default: now (local time)
    /// Pictures with a longer side are scaled down to it; none: stored at any size.
    std::optional<int32_t> maxSide = kDefaultMaxSide;
    bool help = false;

    /// Trailer fields that are not texts; the defaults are those of a new gift.
    TGiftInfo info;

    TextOption title{"--title", "", false};
    TextOption creator{"--creator", "", false};
    TextOption description{"--description", "", false};
    TextOption startMessage{"--start-message", "", false};
    TextOption endMessage{"--end-message", "", false};
    TextOption makerVersion{"--maker-version", "v2.21", false};
    std::string startFontOption = "--start-font"; ///< the option that last set the start font's name
    std::string endFontOption = "--end-font";
    TextOption startBackground{"--start-background", "clWindow", false};
    TextOption endBackground{"--end-background", "clWindow", false};
};

/// Reads the arguments after the program name. --help anywhere sets `help`
/// and skips the check for a picture and an output.
/// @throws UsageError for unknown options, missing or malformed values, a
///         missing or second picture, or a missing output.
MakeOptions parseMakeOptions(const std::vector<std::string>& args);

} // namespace zg::maker

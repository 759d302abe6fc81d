#pragma once

#include "gfx/Bitmap24.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zg::maker {

/// The smallest and largest scale a preview may ask for, in percent.
constexpr int32_t kMinPreviewScale = 10;
constexpr int32_t kMaxPreviewScale = 300;

/// What `gift-maker preview GIFT --out FILE.png [...]` asks for.
struct PreviewOptions {
    std::string giftPath;
    std::string outputPath;
    std::optional<int32_t> style;    ///< 1..6; default: the gift's style
    std::optional<uint16_t> oddness; ///< 0..10; default: the gift's oddness
    int32_t scale = 100;             ///< percent of the picture size
    bool atlas = false;              ///< write the image atlas instead of the cut lines
    bool help = false;
};

/// Reads the arguments after "preview". --help anywhere sets `help` and skips
/// the check for a gift and an output.
/// @throws UsageError for unknown options, missing or malformed values
///         (a scale outside 10..300 included), a missing or second gift, or a
///         missing output.
PreviewOptions parsePreviewOptions(const std::vector<std::string>& args);

/// Builds the gift's puzzle as the player does (its picture, grid and seed,
/// with the style and oddness of `options` when given) at `options.scale`
/// percent, and returns the picture at that scale with every cut line drawn
/// over it, or with `options.atlas` the image atlas of the built pieces.
/// @throws ToolError for a damaged gift (the damaged-file message), a scale
///         whose pieces would lie outside 8..640 pixels, or pieces too large
///         to build; std::runtime_error when the gift cannot be read.
Bitmap24 renderPreview(const PreviewOptions& options);

/// `gift-maker preview`: renderPreview, written as a PNG file to the output.
/// @throws as renderPreview, and ToolError when the PNG cannot be written.
void runPreview(const PreviewOptions& options);

} // namespace zg::maker

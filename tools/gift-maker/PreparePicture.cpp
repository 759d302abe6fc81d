#include "PreparePicture.h"

#include "ToolError.h"
#include "files/GiftError.h"
#include "game/Grid.h"
#include "gfx/ExifOrientation.h"
#include "gfx/Jpeg.h"
#include "gfx/JpegEncode.h"
#include "gfx/Stretch.h"

#include <algorithm>

namespace zg::maker {
namespace {

/// Quality of a re-encoded picture: high enough that the re-encoding does
/// not show in a puzzle, without a file many times the original's size.
constexpr int kReencodeQuality = 92;

std::string sizeText(int32_t width, int32_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

PreparedPicture preparePicture(const std::string& path, std::vector<uint8_t> bytes,
                               std::optional<int32_t> maxSide, uint16_t pieces) {
    Bitmap24 picture;
    try {
        picture = decodeJpeg(bytes);
    } catch (const JpegError& e) {
        throw ToolError("the picture \"" + path + "\" is not a usable JPEG file (" + e.what() + ")");
    }
    PreparedPicture prepared;
    bool changed = false;

    if (const int orientation = exifOrientation(bytes); orientation != 1) {
        picture = turnUpright(picture, orientation);
        prepared.changes.push_back("the camera recorded the picture turned (EXIF orientation " +
                                   std::to_string(orientation) + "): it is stored " +
                                   uprightingText(orientation) + ", upright");
        changed = true;
    }

    const int32_t longer = std::max(picture.width(), picture.height());
    if (maxSide && longer > *maxSide) {
        // Round the shorter side to the nearest pixel, never below one.
        const auto fit = [&](int32_t side) {
            return std::max<int32_t>(1, int32_t((int64_t(side) * *maxSide + longer / 2) / longer));
        };
        const int32_t width = fit(picture.width()), height = fit(picture.height());
        prepared.changes.push_back("the picture is scaled down from " +
                                   sizeText(picture.width(), picture.height()) + " to " +
                                   sizeText(width, height) + " pixels so that its puzzle fits a window (" +
                                   "--max-size N sets the limit, --keep-size keeps the picture's size)");
        picture = stretchBitmap(picture, width, height);
        changed = true;
    }

    try {
        computeGrid(uint32_t(picture.width()), uint32_t(picture.height()), pieces);
    } catch (const GiftDamagedError&) {
        throw ToolError("the picture \"" + path + "\" (" + sizeText(picture.width(), picture.height()) +
                        ") cannot be cut into " + std::to_string(pieces) + " pieces");
    }

    if (changed) {
        prepared.bytes = encodeJpeg(picture, kReencodeQuality);
        prepared.changes.push_back("the picture is stored re-encoded as a new JPEG file (quality " +
                                   std::to_string(kReencodeQuality) + ")");
    } else {
        prepared.bytes = std::move(bytes);
    }
    return prepared;
}

} // namespace zg::maker

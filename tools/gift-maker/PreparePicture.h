#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zg::maker {

/// A picture as it goes into the gift, and what was done to it, one
/// sentence per change for the user (none when stored as given).
struct PreparedPicture {
    std::vector<uint8_t> bytes;
    std::vector<std::string> changes;
};

/// Checks the picture file `bytes` (read from `path`) and readies it for a
/// gift of `pieces` pieces. A picture that was taken turned (EXIF
/// orientation) is turned upright, and one whose longer side exceeds
/// `maxSide` (none: any size) is scaled down to it with an area average,
/// keeping its proportions; either change stores the picture re-encoded as a
/// new JPEG file. Any other picture is stored byte for byte as given.
/// @throws ToolError when the picture does not decode completely or cannot be
///         cut into `pieces` pieces at the size it is stored with.
PreparedPicture preparePicture(const std::string& path, std::vector<uint8_t> bytes,
                               std::optional<int32_t> maxSide, uint16_t pieces);

} // namespace zg::maker

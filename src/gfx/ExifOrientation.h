#pragma once

#include "gfx/Bitmap24.h"

#include <cstdint>
#include <span>
#include <string>

namespace zg {

/// The orientation a camera recorded in a JPEG file's EXIF data: 1 for a
/// picture stored upright, 2..8 for one stored mirrored and/or turned (the
/// numbering of the EXIF Orientation tag). Files without EXIF data, without
/// the tag or with a malformed or out-of-range one count as upright (1).
/// Only the header segments before the picture data are looked at; every
/// length and offset is checked against the file.
int exifOrientation(std::span<const uint8_t> jpeg);

/// What a picture of this orientation needs to be shown upright, for
/// messages: "turned 90 degrees clockwise", "mirrored left to right", ...
/// @pre 2 <= orientation <= 8.
std::string uprightingText(int orientation);

/// `stored` as it is meant to be seen: mirrored and turned as `orientation`
/// asks. Orientations 5 to 8 swap width and height; 1 (or anything outside
/// 2..8) returns a copy.
Bitmap24 turnUpright(const Bitmap24& stored, int orientation);

} // namespace zg

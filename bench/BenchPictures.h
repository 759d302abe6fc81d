#pragma once

#include "gfx/Bitmap24.h"

#include <cstdint>
#include <vector>

namespace zg::bench {

/// The demo photograph tiled to w x h, every other tile mirrored, so that the
/// picture keeps a photograph's detail (and its JPEG its usual entropy) at
/// any size. Made once per size and kept.
const Bitmap24& photoPicture(int32_t w, int32_t h);

/// The same picture as a JPEG of quality 90.
const std::vector<uint8_t>& photoJpeg(int32_t w, int32_t h);

/// CPU time of the calling thread in nanoseconds: other programs on a loaded
/// machine do not count.
double threadNs();

} // namespace zg::bench

#pragma once

#include "gfx/Bitmap24.h"

#include <cstdint>

namespace zg::test {

/// A picture whose red follows x, green follows y and blue their product, so
/// that nearly every pixel differs from its neighbours.
Bitmap24 gradientPicture(int32_t width, int32_t height);

} // namespace zg::test

#pragma once

#include "gfx/Color.h"

#include <QColor>

namespace zg {

/// The colour a stored colour value stands for on this desktop: direct
/// colours (0x00BBGGRR) as they are, system colours (0x80000000 + n) from the
/// application palette's matching role. An unknown system colour gives black.
QColor toQColor(Color c);

/// The direct colour (0x00BBGGRR) a stored colour value stands for.
Color resolveColor(Color c);

} // namespace zg

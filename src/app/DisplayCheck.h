#pragma once

#include <QString>

namespace zg {

/// The fewest bits per pixel the board can be shown with.
inline constexpr int kMinimumDisplayDepth = 15;

/// True when a display of `depth` bits per pixel (bits times planes) can show the board.
bool displayDepthSuffices(int depth);

/// The warning shown on a display of too few colours.
QString lowColourWarning(int depth);

/// Checks the primary screen; on too few colours shows the warning with OK and
/// Cancel, offers the desktop's display settings on OK, and returns false:
/// the program then ends without creating a window.
bool checkDisplay();

} // namespace zg

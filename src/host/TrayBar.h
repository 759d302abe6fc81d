#pragma once

#include "gfx/Rect.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zg {

/// What the tray bar layout needs to know of the bar as the window shows it.
/// Rectangles are in bar coordinates.
struct TrayBarMetrics {
    bool Vertical = false; ///< docked at the left or right
    int32_t BarWidth = 0;
    int32_t BarHeight = 0;
    Rect TemplateButton; ///< `BoxBtn`, never shown; every tray button copies its size
    Rect LeftButton;     ///< `SpeedBoxLeft`
    Rect RightButton;    ///< `SpeedBoxRight`
    Rect UpButton;       ///< `SpeedBoxUp`
    Rect DownButton;     ///< `SpeedBoxDown`
};

/// One user tray as the tray bar shows it.
struct TrayBarButton {
    int32_t Number = 0;
    bool Visible = false;
    Rect Bounds;       ///< where to place it when visible
    bool Down = true;  ///< follows the tray's Open
    bool Full = false; ///< full-tray glyph (else the empty-tray one)
    std::string Hint;  ///< the description followed by "|"
};

/// The tray bar as it should look; the window applies it.
struct TrayBarLayout {
    bool ShowLeftRight = false;
    bool ShowUpDown = false;
    Rect LeftButton;
    Rect RightButton;
    Rect UpButton;
    Rect DownButton;
    bool LeftEnabled = false;
    bool RightEnabled = false;
    bool UpEnabled = false;
    bool DownEnabled = false;
    /// True when the tray buttons below were laid out; without a relayout the
    /// window leaves its tray buttons where they are.
    bool Relayout = false;
    std::vector<TrayBarButton> Buttons; ///< user trays by number
};

} // namespace zg

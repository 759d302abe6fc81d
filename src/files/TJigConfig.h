#pragma once

#include <cstdint>

namespace zg {

/// The options the puzzle core consults while it works. The main window's
/// menu items stay the visible state; their handlers update these fields.
struct TJigConfig {
    bool ShadowsOn = true;
    bool RotationOn = false;
    bool CheatingOn = true;
    bool SoundOn = true;
    bool GhostOn = false;
    int32_t OutlineStyle = 2; ///< 0 None, 1 Paper, 2 Card, 3 Wood
    int32_t SnapDivisor = 4;
    int32_t BoardWidth = 0;
    int32_t BoardHeight = 0;

    bool isWood() const { return OutlineStyle == 3; }
};

} // namespace zg

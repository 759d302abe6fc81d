#pragma once

#include "gfx/Bitmap24.h"
#include "gfx/Color.h"
#include "gfx/Rect.h"

#include <cstdint>
#include <vector>

namespace zg {

class Host;

/// Reduces colours to 5 bits per channel for displays of fewer than 24 bits
/// per pixel, carrying each channel's rounding error into the next call so
/// that successive gradient lines alternate between neighbouring levels.
class Quantiser {
public:
    /// Sets the three error accumulators to 0.
    void reset() { m_red = m_green = m_blue = 0; }
    /// The colour with each channel moved to a multiple of 8 (255 at the top),
    /// after adding that channel's carried error.
    Color quantise(Color c);

    int32_t redError() const { return m_red; }
    int32_t greenError() const { return m_green; }
    int32_t blueError() const { return m_blue; }

private:
    int32_t m_red = 0;
    int32_t m_green = 0;
    int32_t m_blue = 0;
};

/// Each channel of the gradient colour of row `y` of a `height`-row area:
/// full colour at the top, about half at the bottom.
Color gradientRowColor(Color c, int32_t height, int32_t y);

/// The board background: a board-sized bitmap painted with a vertical
/// gradient of the board colour, optionally blended with a faint centred copy
/// of the puzzle picture. Board redraws copy from it.
class TMural {
public:
    /// @param host tells the display depth; must outlive the object.
    explicit TMural(const Host& host);

    /// Resizes the wall (its pixels are black until PaintWall).
    void SetWallSize(int32_t width, int32_t height);
    /// Repaints the whole wall in `colour` (a direct colour; a system colour is
    /// taken as white). With `ghost` and a picture, the picture is centred and
    /// blended in with weight GhostLevel * 12 / 128.
    void PaintWall(bool ghost, const Bitmap24* picture, Color colour);
    /// Plain copy of `r` of the wall to the same place of `canvas` (clipped).
    void CopyTo(const Rect& r, Bitmap24& canvas) const;

    void QuantiseReset() { m_quantiser.reset(); }
    Color Quantise(Color c) { return m_quantiser.quantise(c); }
    const Quantiser& quantiser() const { return m_quantiser; }

    const Bitmap24& Wall() const { return m_wall; }

    /// Strength of the ghost picture, 0 to 10. It stays 0: the ghost overlay is
    /// dormant, and with weight 0 the blend leaves the gradient unchanged.
    int32_t GhostLevel = 0;

private:
    void blendGhost(const Bitmap24& picture, const std::vector<Color>& rowColors);

    const Host& m_host;
    Bitmap24 m_wall;
    Quantiser m_quantiser;
};

} // namespace zg

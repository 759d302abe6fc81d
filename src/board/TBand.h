#pragma once

#include "gfx/Bitmap24.h"
#include "gfx/Rect.h"

#include <cstdint>

namespace zg {

class Host;

/// A temporary rectangle outline on the board: the rubber band of a selection,
/// the outline of a tray being resized and the zoom of a minimised tray.
/// The outline is drawn by inverting the pixels under it in the board's back
/// buffer and presenting them through the host, so drawing the same outline a
/// second time restores every pixel exactly without any redraw. Nothing else
/// may draw on the board while a band is active.
class TBand {
public:
    /// @param host presents the changed pixels; must outlive the band.
    explicit TBand(Host& host);

    /// Starts a band on `canvas` (not owned; must outlive the band) with both
    /// corners at (x, y). Draws nothing.
    void BandStart(Bitmap24& canvas, int32_t x, int32_t y);
    /// Erases the old outline and draws the one from the anchor to (x, y).
    /// Ignored while no band is active.
    void BandTo(int32_t x, int32_t y);
    /// Erases the old outline, takes `r`'s top-left as anchor and its
    /// bottom-right as current corner and draws the new outline. Ignored while
    /// no band is active.
    void BandSet(const Rect& r);
    /// Erases the outline, ends the band and returns the rectangle between the
    /// two corners with left <= right and top <= bottom; empty at the press
    /// point when the band never moved. An inactive band returns its last corners.
    Rect BandFinish();

    /// Animates an outline in 20 steps from `from` to `to`, one step every
    /// 10 ms of the host clock; the canvas is unchanged afterwards.
    void ZoomRect(Bitmap24& canvas, const Rect& from, const Rect& to);

    /// The outline of step `step` (0..20) of a zoom from `from` to `to`: each
    /// edge moves by step times a twentieth of its distance, rounded to the
    /// nearest pixel with ties to even. Step 20 is exactly `to`.
    static Rect zoomStep(const Rect& from, const Rect& to, int32_t step);

    bool isActive() const { return m_canvas != nullptr; }

    int32_t AnchorX = 0;
    int32_t AnchorY = 0;
    int32_t CurrentX = 0;
    int32_t CurrentY = 0;

private:
    /// Inverts the outline from the anchor to the current corner and presents it.
    void toggleOutline();

    Host* m_host;
    Bitmap24* m_canvas = nullptr;
};

} // namespace zg

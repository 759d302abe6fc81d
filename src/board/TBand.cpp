#include "board/TBand.h"

#include "gfx/RasterOps.h"
#include "host/Host.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace zg {

namespace {

constexpr int32_t kZoomSteps = 20;
constexpr int64_t kZoomFrameMs = 10;

/// One edge of a zoom step. The per-step distance is formed first, in double
/// precision from a 64-bit difference, so no intermediate product can overflow
/// and no fraction is lost to integer division; the result is rounded to the
/// nearest integer with ties to even.
int32_t zoomEdge(int32_t from, int32_t to, int32_t step) {
    if (step >= kZoomSteps) {
        return to;
    }
    const double perStep = double(int64_t(to) - int64_t(from)) / kZoomSteps;
    const double v = std::nearbyint(double(from) + double(step) * perStep);
    const double lo = std::numeric_limits<int32_t>::min();
    const double hi = std::numeric_limits<int32_t>::max();
    return int32_t(std::clamp(v, lo, hi));
}

} // namespace

TBand::TBand(Host& host) : m_host(&host) {}

void TBand::BandStart(Bitmap24& canvas, int32_t x, int32_t y) {
    m_canvas = &canvas;
    AnchorX = CurrentX = x;
    AnchorY = CurrentY = y;
}

void TBand::BandTo(int32_t x, int32_t y) {
    if (!isActive()) {
        return;
    }
    toggleOutline();
    CurrentX = x;
    CurrentY = y;
    toggleOutline();
}

void TBand::BandSet(const Rect& r) {
    if (!isActive()) {
        return;
    }
    toggleOutline();
    AnchorX = r.Left;
    AnchorY = r.Top;
    CurrentX = r.Right;
    CurrentY = r.Bottom;
    toggleOutline();
}

Rect TBand::BandFinish() {
    if (isActive()) {
        toggleOutline();
        m_canvas = nullptr;
    }
    if (CurrentX < AnchorX) {
        std::swap(CurrentX, AnchorX);
    }
    if (CurrentY < AnchorY) {
        std::swap(CurrentY, AnchorY);
    }
    return {AnchorX, AnchorY, CurrentX, CurrentY};
}

void TBand::ZoomRect(Bitmap24& canvas, const Rect& from, const Rect& to) {
    BandStart(canvas, from.Left, from.Top);
    for (int32_t i = 1; i <= kZoomSteps; ++i) {
        BandSet(zoomStep(from, to, i));
        m_host->waitUntilMs(m_host->nowMs() + kZoomFrameMs);
    }
    BandFinish();
}

Rect TBand::zoomStep(const Rect& from, const Rect& to, int32_t step) {
    return {zoomEdge(from.Left, to.Left, step), zoomEdge(from.Top, to.Top, step),
            zoomEdge(from.Right, to.Right, step), zoomEdge(from.Bottom, to.Bottom, step)};
}

void TBand::toggleOutline() {
    // The outline of the rectangle between the corners, right and bottom
    // exclusive; every pixel of it is inverted exactly once, so a second call
    // restores the canvas. Coinciding corners (or a zero width or height) give
    // an empty rectangle and draw nothing.
    const Rect r{std::min(AnchorX, CurrentX), std::min(AnchorY, CurrentY), std::max(AnchorX, CurrentX),
                 std::max(AnchorY, CurrentY)};
    if (r.isEmpty() || m_canvas == nullptr) {
        return;
    }
    Rect strips[4];
    int n = 0;
    strips[n++] = {r.Left, r.Top, r.Right, r.Top + 1};
    if (r.height() > 1) {
        strips[n++] = {r.Left, r.Bottom - 1, r.Right, r.Bottom};
    }
    if (r.height() > 2) {
        strips[n++] = {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1};
        if (r.width() > 1) {
            strips[n++] = {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1};
        }
    }
    for (int i = 0; i < n; ++i) {
        const Rect visible = intersection(strips[i], m_canvas->bounds());
        if (!visible.isEmpty()) {
            invertRect(*m_canvas, visible);
            m_host->presentNow(visible);
        }
    }
}

} // namespace zg

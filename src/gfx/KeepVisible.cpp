#include "gfx/KeepVisible.h"

#include <cstdlib>

namespace zg {

bool keepVisible(Rect& r, const Rect& area, int32_t hw, int32_t hh) {
    int32_t dy = 0;
    if (r.Bottom < area.Top + hh) {
        dy = area.Top + hh - r.Bottom;
    }
    if (r.Top > area.Bottom - hh) {
        dy = area.Bottom - hh - r.Top;
    }
    int32_t dx = 0;
    if (r.Left > area.Right - hw) {
        dx = area.Right - hw - r.Left;
    } else if (r.Right < area.Left + hw) {
        dx = area.Left + hw - r.Right;
    }
    // A rectangle far outside on both axes (past half a cell beyond an edge)
    // is pulled back along the axis with the larger overshoot instead.
    int32_t ex = 0;
    if (r.Left < area.Left - hw) {
        ex = area.Left - hw - r.Left;
    }
    if (r.Right > area.Right + hw) {
        ex = area.Right + hw - r.Right;
    }
    int32_t ey = 0;
    if (r.Top < area.Top - hh) {
        ey = area.Top - hh - r.Top;
    }
    if (r.Bottom > area.Bottom + hh) {
        ey = area.Bottom + hh - r.Bottom;
    }
    if (ex != 0 && ey != 0) {
        if (std::abs(ey) < std::abs(ex)) {
            dy = ey;
        } else {
            dx = ex;
        }
    }
    r = r.offset(dx, dy);
    return dx != 0 || dy != 0;
}

} // namespace zg

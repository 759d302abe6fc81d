#include "board/TMove.h"

#include "gfx/KeepVisible.h"
#include "host/Host.h"

#include <algorithm>
#include <cstdlib>

namespace zg {

// The drag and glide paths run once per animation frame: they allocate
// nothing and touch only the compositor's rectangles.

void TMove::TrackMouse(int32_t x, int32_t y) {
    if (JustLifted) {
        JustLifted = false;
        GrabOffset = {x - MoveRect.Left, y - MoveRect.Top};
    }
    LastMouse = {x, y};
}

void TMove::DragTo(int32_t x, int32_t y, uint8_t mode) {
    if (IsMoveBusy()) {
        return;
    }
    ModalScope busyNow(*this);
    TrackMouse(x, y);
    MoveRect = MoveRect.offset(x - GrabOffset.X - MoveRect.Left, y - GrabOffset.Y - MoveRect.Top);
    const int32_t hw = State.PieceWidth / 2;
    const int32_t hh = State.PieceHeight / 2;

    switch (mode) {
    case mmDragPiece: {
        // The board as seen from the pieces' pre-lift positions.
        const Rect board = mainArea().OuterRect();
        const Rect a = board.offset(LiftOrigin.X - MoveRect.Left, LiftOrigin.Y - MoveRect.Top);
        const Rect inner{a.Left + hw, a.Top + hh, a.Right - hw, a.Bottom - hh};
        // Search from both ends towards the middle: first, last, second, ...
        TFormPiece* found = nullptr;
        const std::size_t n = MovingPieces.size();
        for (std::size_t i = 0; i < n && found == nullptr; ++i) {
            const std::size_t k = (i % 2 == 0) ? i / 2 : n - 1 - i / 2;
            if (MovingPieces[k]->boardRect().intersects(inner)) {
                found = MovingPieces[k];
            }
        }
        if (found != nullptr) {
            DragAnchor = found;
        } else if (DragAnchor != nullptr) {
            Rect r = DragAnchor->boardRect();
            const Rect before = r;
            keepVisible(r, a, hw, hh);
            MoveRect = MoveRect.offset(r.Left - before.Left, r.Top - before.Top);
        } else {
            keepVisible(MoveRect, board, hw, hh);
        }
        MovePiecesTo(MoveRect.Left, MoveRect.Top);
        break;
    }
    case mmDragSelection: {
        const int32_t minLeft = -hw;
        const int32_t minTop = -hh;
        // The board size recorded in the settings is the main board area's.
        const int32_t maxRight = int32_t(mainArea().Width) + hw;
        const int32_t maxBottom = int32_t(mainArea().Height) + hh;
        if (MoveRect.Left < minLeft) {
            MoveRect = MoveRect.offset(minLeft - MoveRect.Left, 0);
        }
        if (MoveRect.Top < minTop) {
            MoveRect = MoveRect.offset(0, minTop - MoveRect.Top);
        }
        // The right and bottom corrections come last, so they win.
        if (MoveRect.Right > maxRight) {
            MoveRect = MoveRect.offset(maxRight - MoveRect.Right, 0);
        }
        if (MoveRect.Bottom > maxBottom) {
            MoveRect = MoveRect.offset(0, maxBottom - MoveRect.Bottom);
        }
        MovePiecesTo(MoveRect.Left, MoveRect.Top);
        break;
    }
    case mmDragTray: {
        Rect r = MoveRect;
        KeepTrayVisible(r, BackBuffer.bounds());
        MoveTrayTo(r.Left, r.Top);
        break;
    }
    default:
        break;
    }
}

void TMove::MovePiecesTo(int32_t x, int32_t y) {
    if (MovingPieces.empty()) {
        MoveRect = MoveRect.offset(x - MoveRect.Left, y - MoveRect.Top);
        return;
    }
    Compositor.EraseSprites();
    MoveRect = MoveRect.offset(x - MoveRect.Left, y - MoveRect.Top);
    Compositor.DrawMaskedSprite(MoveRect, SpriteImage, SpriteMask,
                                {0, 0, MoveRect.width(), MoveRect.height()});
    Compositor.Flush();
    ++m_framesDrawn;
}

void TMove::MoveTrayTo(int32_t x, int32_t y) {
    if (m_liftedTray == nullptr) {
        MoveRect = MoveRect.offset(x - MoveRect.Left, y - MoveRect.Top);
        return;
    }
    Compositor.EraseSprites();
    MoveRect = MoveRect.offset(x - MoveRect.Left, y - MoveRect.Top);
    drawTraySprite();
    Compositor.Flush();
    ++m_framesDrawn;
}

void TMove::drawTraySprite() {
    const Rect& d = MoveRect;
    const int32_t w = d.width();
    const int32_t h = d.height();
    if (!m_spriteShadow) {
        Compositor.DrawSprite(d, SpriteImage, {0, 0, w, h});
        return;
    }
    // Body, bottom band, right band; the a x a corners at the top right and
    // bottom left are left out so the board shows there.
    const int32_t a = LiftOffset;
    Compositor.DrawSprite({d.Left, d.Top, d.Right - a, d.Bottom - a}, SpriteImage, {0, 0, w - a, h - a});
    Compositor.DrawSprite({d.Left + a, d.Bottom - a, d.Right, d.Bottom}, SpriteImage, {a, h - a, w, h});
    Compositor.DrawSprite({d.Right - a, d.Top + a, d.Right, d.Bottom - a}, SpriteImage, {w - a, a, w, h - a});
}

bool TMove::Glide(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t speed, bool abortOnClick) {
    if (IsMoveBusy()) {
        return false;
    }
    ModalScope busyNow(*this);
    Host& h = host();
    const int32_t s = std::clamp(speed, 1, 10);
    const int64_t dx = int64_t(x1) - x0;
    const int64_t dy = int64_t(y1) - y0;
    const int32_t sx = dx > 0 ? 1 : -1;
    const int32_t sy = dy > 0 ? 1 : -1;
    const int64_t ax = std::llabs(dx);
    const int64_t ay = std::llabs(dy);
    const bool xMajor = ay < ax;
    const int64_t n = xMajor ? ax : ay;
    const int64_t straight = xMajor ? 2 * ay : 2 * ax;
    const int64_t diagonal = xMajor ? 2 * (ay - ax) : 2 * (ax - ay);
    int64_t d = xMajor ? 2 * ay - ax : 2 * ax - ay;
    int64_t x = x0;
    int64_t y = y0;

    MovePiecesTo(x0, y0);
    int64_t deadline = h.nowMs() + (10 - s);
    int32_t counter = 0;
    for (int64_t step = 0; step <= n; ++step) {
        if (++counter >= s) {
            counter = 0;
            if (h.nowMs() < deadline) {
                MovePiecesTo(int32_t(x), int32_t(y));
            }
            if (s != 10) {
                while (h.nowMs() < deadline) {
                    if (abortOnClick && h.isMousePressPending()) {
                        return false;
                    }
                    // Short slices, so a waiting press is seen promptly.
                    h.waitUntilMs(std::min(deadline, h.nowMs() + 1));
                }
            }
            deadline += 10 - s;
        }
        if (xMajor) {
            x += sx;
        } else {
            y += sy;
        }
        if (d < 0) {
            d += straight;
        } else {
            d += diagonal;
            if (xMajor) {
                y += sy;
            } else {
                x += sx;
            }
        }
    }
    MovePiecesTo(x1, y1);
    return true;
}

} // namespace zg

#include "board/TMove.h"

#include "host/Host.h"

#include <algorithm>

namespace zg {

namespace {

/// Shows the busy cursor while a large sprite is built; the default cursor
/// comes back on every exit. The status line is left alone.
class BusyCursor {
public:
    BusyCursor(Host& host, bool on) : m_host(on ? &host : nullptr) {
        if (m_host) {
            m_host->setCursor(CursorShape::Busy);
        }
    }
    ~BusyCursor() {
        if (m_host) {
            m_host->setCursor(CursorShape::Default);
        }
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Host* m_host;
};

/// Shifts a list of pieces and shifts them back on every exit, so drawing
/// them at another origin never leaves them moved.
class ShiftedPieces {
public:
    ShiftedPieces(const PieceList& list, int32_t dx, int32_t dy) : m_list(list), m_dx(dx), m_dy(dy) {
        offsetPieces(m_list, m_dx, m_dy);
    }
    ~ShiftedPieces() { offsetPieces(m_list, -m_dx, -m_dy); }
    ShiftedPieces(const ShiftedPieces&) = delete;
    ShiftedPieces& operator=(const ShiftedPieces&) = delete;

private:
    const PieceList& m_list;
    int32_t m_dx;
    int32_t m_dy;
};

bool byGroupThenIndex(const TFormPiece* a, const TFormPiece* b) {
    return a->GroupId != b->GroupId ? a->GroupId < b->GroupId : a->Index < b->Index;
}

} // namespace

TMove::TMove(Host& host) : TBoxes(host), Compositor(host), Mural(host), Band(host) {}

TMove::~TMove() = default;

// ---- Board redraw ----

void TMove::ResetCompositor() {
    Compositor.SetBoard(BackBuffer);
}

void TMove::InvalidateBoardRect(const Rect& r) {
    if (!r.isEmpty()) {
        host().invalidate(r);
    }
}

void TMove::RedrawBoardRect(const Rect& r) {
    const Rect clip = intersection(r, BackBuffer.bounds());
    if (clip.isEmpty()) {
        return;
    }
    DrawBoard(Mural, clip);
    Compositor.CommitRect(clip);
}

void TMove::RefreshBoardRect(const Rect& r) {
    RedrawBoardRect(r);
    InvalidateBoardRect(intersection(r, BackBuffer.bounds()));
}

void TMove::ZoomTray(const Rect& from, const Rect& to) {
    Band.ZoomRect(BackBuffer, from, to);
}

// ---- Lifting ----

int32_t TMove::shadowOffset() const {
    return std::clamp<int32_t>(State.PieceHeight / 10, 2, 10);
}

void TMove::endHeldLift() {
    if (m_liftedTray != nullptr) {
        dropTray(*m_liftedTray);
    } else if (!MovingPieces.empty()) {
        putBack();
    }
}

void TMove::LiftSingle(TFormPiece& p) {
    if (IsMoveBusy()) {
        return;
    }
    ModalScope busyNow(*this);
    liftSingle(p);
}

void TMove::liftSingle(TFormPiece& p) {
    endHeldLift();
    MovingPieces.assign(1, &p);
    m_oldGroupIds.clear();
    m_newGroupIds.clear();
    MoveRect = p.boardRect();
    DragAnchor = nullptr;
    liftPieces();
}

void TMove::LiftGroup(TFormPiece* p) {
    if (p == nullptr || IsMoveBusy()) {
        return;
    }
    ModalScope busyNow(*this);
    liftGroup(*p);
}

void TMove::liftGroup(TFormPiece& p) {
    endHeldLift();
    MovingPieces.assign(1, &p);
    MoveRect = p.boardRect();
    if (p.Joined) {
        for (TFormPiece* q : Pieces) {
            if (q != &p && q->GroupId == p.GroupId) {
                MovingPieces.push_back(q);
                MoveRect = boundingBox(MoveRect, q->boardRect());
            }
        }
    }
    BusyCursor busy(host(), MovingPieces.size() > 1);
    bringToFront();
    DragAnchor = nullptr;
    liftPieces();
}

bool TMove::LiftAt(TBox& tray, int32_t x, int32_t y) {
    if (IsMoveBusy()) {
        return false;
    }
    ModalScope busyNow(*this);
    TFormPiece* p = tray.PieceAtPoint(x, y, true, MaskAtlas);
    if (p == nullptr) {
        return false;
    }
    liftGroup(*p);
    return true;
}

bool TMove::LiftInRect(int32_t trayNumber, const Rect& r) {
    if (IsMoveBusy()) {
        return false;
    }
    ModalScope busyNow(*this);
    return liftInRect(trayNumber, r);
}

bool TMove::LiftInBand(int32_t trayNumber, const Rect& band) {
    return LiftInRect(trayNumber, band.inflate(State.PieceWidth / 3, State.PieceHeight / 3));
}

bool TMove::liftInRect(int32_t trayNumber, const Rect& r) {
    endHeldLift();
    MovingPieces.clear();
    MoveRect = {};
    for (TFormPiece* p : Pieces) {
        // Wholly inside: the bounding box of r and the piece is r itself.
        if (!p->Joined && p->TrayIndex == trayNumber && boundingBox(r, p->boardRect()) == r) {
            MovingPieces.push_back(p);
            MoveRect = boundingBox(MoveRect, p->boardRect());
        }
    }
    if (MovingPieces.empty()) {
        return false;
    }
    std::sort(MovingPieces.begin(), MovingPieces.end(), byGroupThenIndex);
    bringToFront();
    DragAnchor = nullptr;
    liftPieces();
    return true;
}

void TMove::bringToFront() {
    m_oldGroupIds.clear();
    m_newGroupIds.clear();
    if (MovingPieces.empty()) {
        return;
    }
    int32_t previous = MovingPieces.front()->GroupId;
    for (TFormPiece* p : MovingPieces) {
        m_oldGroupIds.push_back(p->GroupId);
        if (p->GroupId != previous) {
            ++State.NextGroupId;
            previous = p->GroupId;
        }
        p->GroupId = State.NextGroupId;
        m_newGroupIds.push_back(p->GroupId);
    }
    ++State.NextGroupId;
}

void TMove::liftPieces() {
    m_spriteShadow = shadowsOn();
    const int32_t t = woodThickness();
    if (m_spriteShadow) {
        LiftOffset = shadowOffset();
        MoveRect.Right += LiftOffset;
        MoveRect.Bottom += LiftOffset;
    }
    MoveRect.Bottom += t;
    LiftOrigin = {MoveRect.Left, MoveRect.Top};
    const int32_t w = MoveRect.width();
    const int32_t h = MoveRect.height();
    // Resizing clears the image to black and the mask to white.
    SpriteImage.resize(w + 1, h + 1);
    SpriteMask.resize(w + 1, h + 1);

    {
        ShiftedPieces shifted(MovingPieces, -MoveRect.Left, -MoveRect.Top);
        drawPieces(MovingPieces, SpriteImage, nullptr);
    }
    stampSilhouettes(MovingPieces, SpriteMask, LiftOrigin);
    if (m_spriteShadow) {
        // The shadow: the silhouettes once more, LiftOffset right and down
        // (further down by the side faces in the Wood style); solid black,
        // since the image is black there.
        stampSilhouettes(MovingPieces, SpriteMask,
                         {LiftOrigin.X - LiftOffset, LiftOrigin.Y - LiftOffset - t});
    }
    for (int32_t k = 1; k <= t; ++k) {
        // The side faces hang below the pieces.
        stampSilhouettes(MovingPieces, SpriteMask, {LiftOrigin.X, LiftOrigin.Y - k});
    }
    setHidden(MovingPieces, true);
    // Side faces of pieces above may reach into the area, so redraw from T above.
    RefreshBoardRect({MoveRect.Left, MoveRect.Top - WoodThickness, MoveRect.Right, MoveRect.Bottom});

    Compositor.ResetLists();
    Compositor.DrawMaskedSprite(MoveRect, SpriteImage, SpriteMask, {0, 0, w, h});
    Compositor.Flush();
    ++m_framesDrawn;
    JustLifted = true;
}

void TMove::LiftTray(TBox& tray) {
    if (IsMoveBusy() || tray.isMainArea()) {
        return;
    }
    ModalScope busyNow(*this);
    liftTray(tray);
}

void TMove::liftTray(TBox& tray) {
    endHeldLift();
    MovingPieces.clear();
    m_oldGroupIds.clear();
    m_newGroupIds.clear();
    MoveRect = tray.OuterRect();
    m_spriteShadow = shadowsOn();
    if (m_spriteShadow) {
        LiftOffset = shadowOffset();
        MoveRect.Right += LiftOffset;
        MoveRect.Bottom += LiftOffset;
    }
    BusyCursor busy(host(), true);
    LiftOrigin = {MoveRect.Left, MoveRect.Top};
    const int32_t w = MoveRect.width();
    const int32_t h = MoveRect.height();
    // The image starts black, so the shadow bands along the bottom and the
    // right are already there; the tray is drawn over the rest.
    SpriteImage.resize(w + 1, h + 1);
    {
        const int32_t dx = -MoveRect.Left;
        const int32_t dy = -MoveRect.Top;
        tray.Left += dx;
        tray.Top += dy;
        ShiftedPieces shifted(tray.Pieces, dx, dy);
        struct Restore {
            TBox& b;
            int32_t dx, dy;
            ~Restore() {
                b.Left -= dx;
                b.Top -= dy;
            }
        } restore{tray, dx, dy};
        DrawTray(tray, SpriteImage, nullptr);
    }
    m_liftedTray = &tray;
    HideTray(tray, true);
    RefreshBoardRect(MoveRect);

    Compositor.ResetLists();
    drawTraySprite();
    Compositor.Flush();
    ++m_framesDrawn;
    JustLifted = true;
}

// ---- Ending a lift ----

void TMove::SnapDropped(const PieceList& list, Rect&) {
    setPlaced(list, true);
}

void TMove::DropPieces(TBox* tray, bool snap) {
    if (IsMoveBusy()) {
        return;
    }
    ModalScope busyNow(*this);
    dropPieces(tray, snap);
}

void TMove::dropPieces(TBox* tray, bool snap) {
    if (MovingPieces.empty()) {
        return;
    }
    TBox& target = tray != nullptr ? *tray : TrayAt(LastMouse.X, LastMouse.Y);
    TransferPieces(MovingPieces, target);
    setHidden(MovingPieces, false);
    offsetPieces(MovingPieces, MoveRect.Left - LiftOrigin.X, MoveRect.Top - LiftOrigin.Y);
    if (snap) {
        SnapDropped(MovingPieces, MoveRect);
    }
    target.SortPieces();
    if (!target.isMainArea()) {
        // Groups dropped partly outside the tray's client area are pushed back
        // before the positions are recorded, so a saved game finds them inside.
        RefitTray(target);
    }
    RecordPositions(target);
    if (!target.isMainArea()) {
        setPlaced(MovingPieces, false);
    }
    AddBounds(MovingPieces, MoveRect);
    MoveRect.Bottom += woodThickness();
    RefreshBoardRect(MoveRect);
    MovingPieces.clear();
    m_oldGroupIds.clear();
    m_newGroupIds.clear();
}

void TMove::DropTray(TBox& tray) {
    if (IsMoveBusy()) {
        return;
    }
    ModalScope busyNow(*this);
    dropTray(tray);
}

void TMove::dropTray(TBox& tray) {
    if (m_liftedTray != &tray) {
        return;
    }
    m_liftedTray = nullptr;
    HideTray(tray, false);
    MoveTray(tray, MoveRect.Left - LiftOrigin.X, MoveRect.Top - LiftOrigin.Y);
    SortTrays(false);
    RefreshBoardRect(MoveRect);
}

void TMove::PutBack() {
    if (IsMoveBusy()) {
        return;
    }
    ModalScope busyNow(*this);
    putBack();
}

void TMove::putBack() {
    if (m_liftedTray != nullptr) {
        // A tray put back is a tray dropped where it was lifted.
        const Rect sprite = MoveRect;
        MoveRect = MoveRect.offset(LiftOrigin.X - MoveRect.Left, LiftOrigin.Y - MoveRect.Top);
        TBox& tray = *m_liftedTray;
        dropTray(tray);
        RefreshBoardRect(sprite);
        return;
    }
    if (MovingPieces.empty()) {
        return;
    }
    // Pieces that were brought to the front go back to their old stacking
    // order, unless something has relabelled them meanwhile (a join).
    bool unchanged = m_oldGroupIds.size() == MovingPieces.size();
    for (std::size_t i = 0; unchanged && i < MovingPieces.size(); ++i) {
        unchanged = MovingPieces[i]->GroupId == m_newGroupIds[i];
    }
    if (unchanged) {
        for (std::size_t i = 0; i < MovingPieces.size(); ++i) {
            MovingPieces[i]->GroupId = m_oldGroupIds[i];
        }
    }
    setHidden(MovingPieces, false);
    // The sprite may have moved away from the pieces: redraw both places.
    const Rect home = MoveRect.offset(LiftOrigin.X - MoveRect.Left, LiftOrigin.Y - MoveRect.Top);
    if (home.intersects(MoveRect) || home == MoveRect) {
        RefreshBoardRect(boundingBox(home, MoveRect));
    } else {
        RefreshBoardRect(home);
        RefreshBoardRect(MoveRect);
    }
    MovingPieces.clear();
    m_oldGroupIds.clear();
    m_newGroupIds.clear();
}

void TMove::RaiseTray(TBox& tray) {
    if (IsMoveBusy() || tray.isMainArea() || tray.IsFront()) {
        return;
    }
    ModalScope busyNow(*this);
    tray.TakeStamp();
    liftTray(tray);
    dropTray(tray);
    host().presentNow(intersection(MoveRect, BackBuffer.bounds()));
}

void TMove::TurnPieceImages(const PieceList& list, int32_t quarterTurns) {
    RotatePieces(list, quarterTurns, false);
}

void TMove::RotateGroup(TFormPiece& p, int32_t quarterTurns, bool snap) {
    if (IsMoveBusy()) {
        return;
    }
    ModalScope busyNow(*this);
    endHeldLift();
    // Pending repaints finish first; presses arriving meanwhile are refused.
    host().processEvents();

    MovingPieces.assign(1, &p);
    m_oldGroupIds.clear();
    m_newGroupIds.clear();
    if (p.Joined) {
        for (TFormPiece* q : Pieces) {
            if (q != &p && q->GroupId == p.GroupId) {
                MovingPieces.push_back(q);
            }
        }
    }
    MoveRect = {};
    AddBounds(MovingPieces, MoveRect);
    MoveRect.Bottom += woodThickness();
    setHidden(MovingPieces, true);
    RefreshBoardRect(MoveRect);

    TurnPieceImages(MovingPieces, ((quarterTurns % 4) + 4) % 4);

    // p stays where it is; the rest of its group is placed around it.
    MoveRect = p.boardRect();
    for (TFormPiece* q : MovingPieces) {
        if (q != &p) {
            q->moveNextTo(p);
            MoveRect = boundingBox(MoveRect, q->boardRect());
        }
    }
    MoveRect.Bottom += woodThickness();
    LiftOrigin = {MoveRect.Left, MoveRect.Top};
    if (snap) {
        TBox& tray = TrayByNumber(p.TrayIndex);
        SnapDropped(MovingPieces, MoveRect);
        tray.SortPieces();
        RecordPositions(tray);
    }
    putBack();
}

// ---- Queries ----

TFormPiece* TMove::PieceInSprite(int32_t x, int32_t y) const {
    // The pieces keep their pre-lift positions; look at the point as seen
    // from there.
    const int32_t px = x - (MoveRect.Left - LiftOrigin.X);
    const int32_t py = y - (MoveRect.Top - LiftOrigin.Y);
    for (auto it = MovingPieces.rbegin(); it != MovingPieces.rend(); ++it) {
        if (hitTest(**it, px, py)) {
            return *it;
        }
    }
    return nullptr;
}

void TMove::AddBounds(const PieceList& list, Rect& r) {
    for (const TFormPiece* p : list) {
        r = boundingBox(r, p->boardRect());
    }
}

TMove::RunInfo TMove::LargestRun() const {
    const PieceList& list = mainArea().Pieces;
    RunInfo best;
    if (list.empty()) {
        return best;
    }
    best = {0, 1, list[0]->Settled ? 0 : 1, list[0]->GroupId};
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = start;
        int32_t unsettled = 0;
        while (end < list.size() && list[end]->GroupId == list[start]->GroupId) {
            unsettled += list[end]->Settled ? 0 : 1;
            ++end;
        }
        if (int32_t(end - start) > best.Length) {
            best = {int32_t(start), int32_t(end - start), unsettled, list[start]->GroupId};
        }
        start = end;
    }
    return best;
}

} // namespace zg

// Mouse and keyboard on the board: picking and dragging pieces, the rubber
// band, moving, resizing and minimising trays, turning pieces, the cheat
// clicks and the three popup menus.

#include "game/TJigsaw.h"
#include "host/Host.h"

#include <cstdlib>

namespace zg {

namespace {

constexpr int32_t kTurnRight = 1; ///< one quarter turn clockwise
constexpr int32_t kTurnLeft = 3;  ///< three quarter turns clockwise: one anticlockwise

} // namespace

TBox& TJigsaw::currentTray() {
    for (const auto& tray : Trays) {
        if (tray.get() == CurrentTray) {
            return *tray;
        }
    }
    CurrentTray = &mainArea();
    return mainArea();
}

void TJigsaw::setRightClickContext(int32_t x, int32_t y) {
    if (MouseMode == mmSelection) {
        PutBack();
        MouseMode = mmIdle;
        host().setCursor(CursorShape::Default);
    }
    ClickPoint = {x, y};
    CurrentTray = &TrayAt(x, y);
}

void TJigsaw::BoardMouseDown(MouseButton button, int32_t x, int32_t y) {
    // A press that arrives while a glide, a turn or a popup runs (the host
    // lets events through then) would start a new lift over a half-finished one.
    // During auto-solve every press is ignored, a right click too: its popup
    // would offer commands that change the board under the running solve.
    if (!IsPlaying() || pieceCount() == 0 || IsBusy()) {
        return;
    }
    const bool right = button == MouseButton::Right;
    const bool ctrl = host().isCtrlDown();
    const bool cheat = host().isShiftDown() && Config.CheatingOn;
    bool rotate = ctrl && Config.RotationOn;
    if (right && MouseAction == zg::MouseAction::Alternative) {
        rotate = !ctrl && Config.RotationOn;
    }

    if (cheat) {
        setRightClickContext(x, y);
        ClickedPiece = currentTray().PieceAtPoint(x, y, false, MaskAtlas);
        if (ClickedPiece == nullptr) {
            return;
        }
        NeighbourPiece = neighbourInClickDirection(*ClickedPiece, ClickPoint);
        if (NeighbourPiece == nullptr) {
            return;
        }
        if (button == MouseButton::Left) {
            RunPopupCommand(PopupKind::Piece, PopupCommand::FetchNeighbour);
        } else if (right) {
            RunPopupCommand(PopupKind::Piece, PopupCommand::ShowNeighbour);
        }
        return;
    }

    if (rotate) {
        setRightClickContext(x, y);
        ClickedPiece = currentTray().PieceAtPoint(x, y, true, MaskAtlas);
        if (ClickedPiece != nullptr) {
            RotateGroup(*ClickedPiece, right ? kTurnRight : kTurnLeft, true);
            return;
        }
        // A turn on empty board opens the board or tray popup.
        showPopup(currentTray().isMainArea() ? PopupKind::Play : PopupKind::Tray);
        return;
    }

    if (!right) {
        leftPress(x, y);
        return;
    }

    setRightClickContext(x, y);
    TBox& tray = currentTray();
    ClickedPiece = tray.PieceAtPoint(x, y, true, MaskAtlas);
    if (MouseMode == mmIdle && ClickedPiece != nullptr) {
        LiftSingle(*ClickedPiece);
        showPopup(PopupKind::Piece);
        PutBack();
        return;
    }
    showPopup(tray.isMainArea() ? PopupKind::Play : PopupKind::Tray);
}

void TJigsaw::leftPress(int32_t x, int32_t y) {
    switch (MouseMode) {
    case mmIdle:
        idlePress(x, y);
        break;
    case mmSelection:
        if (PieceInSprite(x, y) != nullptr) {
            // The grab point is where the selection was pressed.
            TrackMouse(x, y);
            MouseMode = mmDragSelection;
            host().setCursor(CursorShape::Grab);
        } else {
            PutBack();
            MouseMode = mmIdle;
            host().setCursor(CursorShape::Default);
        }
        break;
    case mmTrayBorder: {
        TBox& tray = currentTray();
        const CursorShape edge = tray.EdgeCursor(x, y);
        if (tray.isMainArea() || edge == CursorShape::Default) {
            MouseMode = mmIdle;
            host().setCursor(CursorShape::Default);
            break;
        }
        m_resizeCursor = edge;
        MouseMode = mmResizeTray;
        int32_t ax = x;
        int32_t ay = y;
        tray.BeginResize(ax, ay, m_resizeCursor);
        Band.BandStart(BackBuffer, ax, ay);
        BoardMouseMove(x, y);
        break;
    }
    default:
        break;
    }
}

void TJigsaw::idlePress(int32_t x, int32_t y) {
    CurrentTray = &TrayAt(x, y);
    TBox& tray = *CurrentTray;
    if (tray.HitMinimise(x, y)) {
        RefreshBoardRect(tray.MinimiseRect());
        MouseMode = mmTrayButton;
        return;
    }
    if (LiftAt(tray, x, y)) {
        // The grab point is where the piece was pressed, so the first move
        // already carries the piece along.
        TrackMouse(x, y);
        MouseMode = mmDragPiece;
        host().setCursor(CursorShape::Grab);
        return;
    }
    if (tray.ClientRect().contains(x, y)) {
        if (!tray.isMainArea() && tray.Open) {
            RaiseTray(tray);
        }
        Band.BandStart(BackBuffer, x, y);
        MouseMode = mmBanding;
        return;
    }
    if (tray.isMainArea()) {
        return;
    }
    // The frame of a user tray: it comes to the front and moves.
    tray.TakeStamp();
    LiftTray(tray);
    if (LiftedTray() != &tray) {
        return;
    }
    TrackMouse(x, y);
    MouseMode = mmDragTray;
    host().setCursor(CursorShape::SizeAll);
}

void TJigsaw::setTrayButtonUp(TBox& tray) {
    if (tray.Pressed) {
        tray.Pressed = false;
        RefreshBoardRect(tray.MinimiseRect());
    }
}

void TJigsaw::abandonBoardInput() {
    if (IsMoveBusy()) {
        return;
    }
    if (Band.isActive()) {
        Band.BandFinish();
    }
    if (MouseMode == mmTrayButton) {
        setTrayButtonUp(currentTray());
    }
    if (IsLifted()) {
        PutBack();
    }
    if (MouseMode != mmIdle) {
        MouseMode = mmIdle;
        host().setCursor(CursorShape::Default);
    }
}

void TJigsaw::BoardMouseMove(int32_t x, int32_t y) {
    if (!IsPlaying() || IsMoveBusy()) {
        return;
    }
    switch (MouseMode) {
    case mmIdle: {
        CurrentTray = &TrayAt(x, y);
        TBox& tray = *CurrentTray;
        if (!tray.isMainArea()) {
            const CursorShape edge = tray.EdgeCursor(x, y);
            if (edge != CursorShape::Default) {
                host().setCursor(edge);
                MouseMode = mmTrayBorder;
            }
        }
        break;
    }
    case mmDragPiece:
    case mmDragSelection:
    case mmDragTray:
        DragTo(x, y, MouseMode);
        break;
    case mmTrayBorder: {
        const CursorShape edge = currentTray().EdgeCursor(x, y);
        host().setCursor(edge);
        if (edge == CursorShape::Default) {
            MouseMode = mmIdle;
        }
        break;
    }
    case mmResizeTray: {
        int32_t cx = x;
        int32_t cy = y;
        currentTray().TrackResize(cx, cy, m_resizeCursor);
        Band.BandTo(cx, cy);
        break;
    }
    case mmBanding:
        Band.BandTo(x, y);
        break;
    case mmTrayButton: {
        TBox& tray = currentTray();
        if (!tray.MinimiseRect().contains(x, y)) {
            // Releasing away from the button does nothing.
            setTrayButtonUp(tray);
            MouseMode = mmIdle;
        }
        break;
    }
    default:
        break;
    }
}

void TJigsaw::BoardMouseUp(int32_t x, int32_t y) {
    if (!IsPlaying() || IsMoveBusy()) {
        return;
    }
    switch (MouseMode) {
    case mmBanding: {
        const Rect band = Band.BandFinish();
        MouseMode = LiftInBand(currentTray().Number, band) ? mmSelection : mmIdle;
        break;
    }
    case mmDragPiece:
    case mmDragSelection: {
        TrackMouse(x, y);
        // Only a piece or group picked by a click joins its neighbours; a band
        // selection is put down as it is.
        DropPieces(nullptr, MouseMode == mmDragPiece);
        MouseMode = mmIdle;
        host().setCursor(CursorShape::Default);
        break;
    }
    case mmDragTray:
        if (TBox* tray = LiftedTray()) {
            DropTray(*tray);
        }
        MouseMode = mmIdle;
        host().setCursor(CursorShape::Default);
        break;
    case mmResizeTray: {
        const Rect outline = Band.BandFinish();
        ResizeTray(currentTray(), outline);
        MouseMode = mmIdle;
        host().setCursor(CursorShape::Default);
        break;
    }
    case mmTrayButton: {
        // The mode stays until the pointer leaves the button.
        TBox& tray = currentTray();
        setTrayButtonUp(tray);
        ToggleOpen(tray);
        break;
    }
    default:
        break;
    }
}

void TJigsaw::UpdateMouseHelp(ShiftState shift) {
    if (!IsPlaying()) {
        return;
    }
    std::string text;
    if (shift.Flags == ShiftState::kShift) {
        text = Config.CheatingOn ? "Mouse: Left=Fetch neighbor, Right=Show neighbor"
                                 : "Cheating is currently disabled";
    } else if (shift.Flags == ShiftState::kCtrl) {
        if (MouseAction == zg::MouseAction::Alternative) {
            text =
                Config.RotationOn ? "Mouse: Left=Rotate left, Right=Popup menu" : "Mouse: Right=Popup menu";
        } else {
            text = Config.RotationOn ? "Mouse: Left=Rotate left, Right=Rotate right"
                                     : "Rotation is currently disabled";
        }
    }
    host().setStatusText(text);
}

TFormPiece* TJigsaw::neighbourInClickDirection(TFormPiece& piece, Point click) {
    const int32_t dx = click.X - (piece.Left + piece.Width / 2);
    const int32_t dy = click.Y - (piece.Top + piece.Height / 2);
    int32_t side = 0;
    if (std::abs(dx) < std::abs(dy)) {
        side = dy >= 0 ? 2 : 0;
    } else {
        side = dx < 0 ? 3 : 1;
    }
    // The side as seen on the board, turned back into the picture's frame.
    side = (side - int32_t(piece.Rotation & 3) + 4) % 4;
    const NeighbourSlots slots = ComputeNeighbourSlots(piece.Index);
    const auto inOtherGroup = [&piece](const TFormPiece* q) {
        return q != nullptr && q->GroupId != piece.GroupId;
    };
    if (inOtherGroup(slots[std::size_t(side)].Neighbour)) {
        return slots[std::size_t(side)].Neighbour;
    }
    for (const NeighbourSlot& slot : slots) {
        if (inOtherGroup(slot.Neighbour)) {
            return slot.Neighbour;
        }
    }
    return nullptr;
}

PopupState TJigsaw::popupState(PopupKind kind) const {
    PopupState state;
    switch (kind) {
    case PopupKind::Piece:
        state.RotateEnabled = Config.RotationOn;
        state.ShowNeighbourEnabled = Config.CheatingOn && NeighbourPiece != nullptr;
        state.FetchNeighbourEnabled = state.ShowNeighbourEnabled;
        state.RightWayUpEnabled =
            Config.CheatingOn && ClickedPiece != nullptr && (ClickedPiece->Rotation & 3) != 0;
        break;
    case PopupKind::Play:
        state.HintEnabled = IsPlaying() && Config.CheatingOn;
        state.AutoSolveEnabled = state.HintEnabled;
        break;
    case PopupKind::Tray:
        break;
    }
    return state;
}

void TJigsaw::showPopup(PopupKind kind) {
    if (kind == PopupKind::Piece) {
        NeighbourPiece =
            ClickedPiece != nullptr ? neighbourInClickDirection(*ClickedPiece, ClickPoint) : nullptr;
    }
    const PopupState state = popupState(kind);
    PopupCommand chosen = PopupCommand::None;
    {
        // Presses that reach the board while the menu is open are refused.
        ModalScope menuOpen(*this);
        chosen = host().popupMenu(kind, ClickPoint, state);
    }
    RunPopupCommand(kind, chosen);
}

void TJigsaw::RunPopupCommand(PopupKind kind, PopupCommand command) {
    if (!belongsTo(command, kind) || !popupState(kind).isEnabled(command)) {
        return;
    }
    if (kind != PopupKind::Piece) {
        host().runBoardCommand(command);
        return;
    }
    if (ClickedPiece == nullptr) {
        return;
    }
    switch (command) {
    case PopupCommand::RotateRight:
        RotateGroup(*ClickedPiece, kTurnRight, true);
        break;
    case PopupCommand::RotateLeft:
        RotateGroup(*ClickedPiece, kTurnLeft, true);
        break;
    case PopupCommand::Unlock:
        UnlockPiece();
        break;
    case PopupCommand::SendToBack:
        SendGroupToBack();
        break;
    case PopupCommand::ShowNeighbour:
        ShowNeighbour();
        break;
    case PopupCommand::FetchNeighbour:
        FetchNeighbour();
        break;
    case PopupCommand::RightWayUp:
        RightWayUpPiece();
        break;
    default:
        break;
    }
}

} // namespace zg

#pragma once

#include <cstdint>

namespace zg {

/// The mouse buttons the board reacts to.
enum class MouseButton { Left, Middle, Right };

/// Modifier keys and mouse buttons held at one moment, as a set of flags.
struct ShiftState {
    static constexpr uint32_t kShift = 1;
    static constexpr uint32_t kCtrl = 2;
    static constexpr uint32_t kAlt = 4;
    static constexpr uint32_t kLeft = 8;
    static constexpr uint32_t kRight = 16;
    static constexpr uint32_t kMiddle = 32;

    uint32_t Flags = 0;

    friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

/// The right mouse button's action on the board.
enum class MouseAction : uint8_t {
    Default = 0,    ///< right click: popup menu; control+click rotates
    Alternative = 1 ///< right click rotates right (when rotation is on); control+right click: popup menu
};

/// The three popup menus of the board.
enum class PopupKind {
    Play,  ///< PopupPlay: a click on the main board area
    Piece, ///< PopupPiece: a click on a piece
    Tray   ///< PopupTray: a click in a user tray
};

/// The items of the board popups, as the host reports the one chosen.
enum class PopupCommand : int32_t {
    None = -1, ///< the menu was closed without a choice

    // PopupPiece: run by the puzzle on the clicked piece.
    RotateRight = 0,
    RotateLeft,
    Unlock,
    SendToBack,
    ShowNeighbour,
    FetchNeighbour,
    RightWayUp,

    // PopupPlay: the window's commands on the main board area.
    ArrangeAtEdge,
    ArrangeInGrid,
    PieceSize,
    Hint,
    AutoSolve,

    // PopupTray: the window's commands on the tray that was clicked.
    ArrangeAtEdgeTray,
    ArrangeInGridTray,
    DisarrangeTray,
    PieceSizeTray,
    SelectAllPieces,
    SendTrayToBack,
    DropAllPieces,
    GetLoosePieces,
    TrayDescription,
    TrayColorCustom,
    TrayColorMatching,
    TrayColorContrasting,
    TrayColorDefault,
    DeleteTray,
};

/// Which popup items are enabled when a popup opens; every item not named
/// here is always enabled.
struct PopupState {
    bool RotateEnabled = false;         ///< Rotate Right and Rotate Left: the rotation option
    bool ShowNeighbourEnabled = false;  ///< cheating allowed and the neighbour lies in another group
    bool FetchNeighbourEnabled = false; ///< as ShowNeighbourEnabled
    bool RightWayUpEnabled = false;     ///< cheating allowed and the piece is turned
    bool HintEnabled = false;           ///< playing and cheating allowed
    bool AutoSolveEnabled = false;      ///< playing and cheating allowed
    /// The tray's own commands (Select all pieces, Send Tray to Back, Drop all
    /// pieces, Get loose pieces, Tray Description, Tray Color, Delete Tray):
    /// off until the window carries them out.
    bool TrayCommandsEnabled = false;

    /// Whether `command` may be chosen in this state. None is never enabled.
    bool isEnabled(PopupCommand command) const {
        switch (command) {
        case PopupCommand::None:
            return false;
        case PopupCommand::RotateRight:
        case PopupCommand::RotateLeft:
            return RotateEnabled;
        case PopupCommand::ShowNeighbour:
            return ShowNeighbourEnabled;
        case PopupCommand::FetchNeighbour:
            return FetchNeighbourEnabled;
        case PopupCommand::RightWayUp:
            return RightWayUpEnabled;
        case PopupCommand::Hint:
            return HintEnabled;
        case PopupCommand::AutoSolve:
            return AutoSolveEnabled;
        case PopupCommand::SelectAllPieces:
        case PopupCommand::SendTrayToBack:
        case PopupCommand::DropAllPieces:
        case PopupCommand::GetLoosePieces:
        case PopupCommand::TrayDescription:
        case PopupCommand::TrayColorCustom:
        case PopupCommand::TrayColorMatching:
        case PopupCommand::TrayColorContrasting:
        case PopupCommand::TrayColorDefault:
        case PopupCommand::DeleteTray:
            return TrayCommandsEnabled;
        default:
            return true;
        }
    }
};

/// True when `command` is an item of popup `kind`; None belongs to no popup.
constexpr bool belongsTo(PopupCommand command, PopupKind kind) {
    if (command == PopupCommand::None) {
        return false;
    }
    if (command <= PopupCommand::RightWayUp) {
        return kind == PopupKind::Piece;
    }
    if (command <= PopupCommand::AutoSolve) {
        return kind == PopupKind::Play;
    }
    return kind == PopupKind::Tray && command <= PopupCommand::DeleteTray;
}

} // namespace zg

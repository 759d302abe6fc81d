// Mouse and keys on the board, and the board popups.

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace zg {

namespace {

ShiftState shiftStateOf(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons) {
    ShiftState state;
    if (keys.testFlag(Qt::ShiftModifier)) {
        state.Flags |= ShiftState::kShift;
    }
    if (keys.testFlag(Qt::ControlModifier)) {
        state.Flags |= ShiftState::kCtrl;
    }
    if (keys.testFlag(Qt::AltModifier)) {
        state.Flags |= ShiftState::kAlt;
    }
    if (buttons.testFlag(Qt::LeftButton)) {
        state.Flags |= ShiftState::kLeft;
    }
    if (buttons.testFlag(Qt::RightButton)) {
        state.Flags |= ShiftState::kRight;
    }
    if (buttons.testFlag(Qt::MiddleButton)) {
        state.Flags |= ShiftState::kMiddle;
    }
    return state;
}

} // namespace

void TMainForm::boardMousePressed(QMouseEvent* event) {
    if (!m_boardLive) {
        return;
    }
    const Qt::MouseButtons held = event->buttons();
    if (held.testFlag(Qt::LeftButton) && held.testFlag(Qt::RightButton)) {
        return;
    }
    MouseButton button = MouseButton::Left;
    switch (event->button()) {
    case Qt::LeftButton:
        button = MouseButton::Left;
        break;
    case Qt::RightButton:
        button = MouseButton::Right;
        break;
    case Qt::MiddleButton:
        button = MouseButton::Middle;
        break;
    default:
        return;
    }
    const QPoint at = event->position().toPoint();
    m_jigsaw->BoardMouseDown(button, at.x(), at.y());
}

void TMainForm::boardMouseMoved(QMouseEvent* event) {
    if (!m_boardLive) {
        return;
    }
    const QPoint at = event->position().toPoint();
    m_jigsaw->BoardMouseMove(at.x(), at.y());
    const ShiftState shift = shiftStateOf(event->modifiers(), event->buttons());
    if (!(shift == m_lastShift)) {
        m_jigsaw->UpdateMouseHelp(shift);
    }
    m_lastShift = shift;
}

void TMainForm::boardMouseReleased(QMouseEvent* event) {
    // A middle press picks pieces like a left one, so its release must put
    // them down too, or the group would follow the pointer with no button
    // held. With the left button still down, the left release ends the move.
    const bool ends = event->button() == Qt::LeftButton ||
                      (event->button() == Qt::MiddleButton && !(event->buttons() & Qt::LeftButton));
    if (!m_boardLive || !ends) {
        return;
    }
    const QPoint at = event->position().toPoint();
    m_jigsaw->BoardMouseUp(at.x(), at.y());
}

void TMainForm::keysChanged(QKeyEvent* event) {
    if (!m_boardLive) {
        return;
    }
    // Platforms differ in whether a modifier key's own event counts it as
    // held; the key itself settles it.
    Qt::KeyboardModifiers keys = event->modifiers();
    Qt::KeyboardModifier own = Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Shift:
        own = Qt::ShiftModifier;
        break;
    case Qt::Key_Control:
        own = Qt::ControlModifier;
        break;
    case Qt::Key_Alt:
        own = Qt::AltModifier;
        break;
    default:
        break;
    }
    if (own != Qt::NoModifier) {
        keys.setFlag(own, event->type() == QEvent::KeyPress);
    }
    m_jigsaw->UpdateMouseHelp(shiftStateOf(keys, QGuiApplication::mouseButtons()));
}

PopupCommand TMainForm::popupMenu(PopupKind kind, Point boardPoint, const PopupState& enabling) {
    QMenu* menu = kind == PopupKind::Piece  ? m_popups.Piece
                  : kind == PopupKind::Tray ? m_popups.Tray
                                            : m_popups.Play;
    const std::function<void(QMenu*)> enable = [&](QMenu* m) {
        for (QAction* item : m->actions()) {
            if (item->menu() != nullptr) {
                enable(item->menu());
            } else if (!item->isSeparator()) {
                // A window command is offered only while its menu item is.
                const auto command = PopupCommand(item->data().toInt());
                const QAction* windowItem = windowAction(command);
                item->setEnabled(enabling.isEnabled(command) &&
                                 (windowItem == nullptr || windowItem->isEnabled()));
            }
        }
    };
    enable(menu);
    QAction* chosen = menu->exec(m_board->mapToGlobal(QPoint(boardPoint.X, boardPoint.Y)));
    if (chosen == nullptr || !chosen->data().isValid()) {
        return PopupCommand::None;
    }
    return PopupCommand(chosen->data().toInt());
}

QAction* TMainForm::windowAction(PopupCommand command) const {
    switch (command) {
    case PopupCommand::ArrangeAtEdge:
        return m_actions.ArrangeAtEdge;
    case PopupCommand::ArrangeInGrid:
        return m_actions.ArrangeInGrid;
    case PopupCommand::PieceSize:
    case PopupCommand::PieceSizeTray:
        return m_actions.PieceSize;
    case PopupCommand::Hint:
        return m_actions.Hint;
    case PopupCommand::AutoSolve:
        return m_actions.Solve;
    default:
        return nullptr;
    }
}

void TMainForm::runBoardCommand(PopupCommand command) {
    if (runArrangeCommand(command)) {
        return;
    }
    // The board popup's window commands do what their menu items do.
    if (QAction* item = windowAction(command)) {
        item->trigger();
    }
    // The tray commands have no action of their own yet.
}

} // namespace zg

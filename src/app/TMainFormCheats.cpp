// The main window's arranging commands and cheats.

#include "app/TMainForm.h"
#include "game/TJigsaw.h"
#include "ui/TSolveDlg.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace zg {

void TMainForm::connectArrangeCommands() {
    connect(m_actions.ArrangeAtEdge, &QAction::triggered, this,
            [this] { guarded([this] { ArrangeAtEdgeClick(false); }); });
    connect(m_actions.ArrangeInGrid, &QAction::triggered, this,
            [this] { guarded([this] { ArrangeinGridClick(false); }); });
    connect(m_actions.Disarrange, &QAction::triggered, this,
            [this] { guarded([this] { DisarrangeClick(false); }); });
}

bool TMainForm::boardBusy() const {
    return !m_boardLive || !m_jigsaw || !m_jigsaw->IsPlaying() || m_jigsaw->AutoSolving ||
           m_jigsaw->IsMoveBusy();
}

void TMainForm::ArrangeAtEdgeClick(bool tray) {
    if (boardBusy()) {
        return;
    }
    TJigsaw& j = *m_jigsaw;
    j.ArrangeAtEdge(tray ? j.currentTray() : j.mainArea(), m_actions.SortByShape->isChecked(),
                    m_actions.SortByColor->isChecked());
}

void TMainForm::ArrangeinGridClick(bool tray) {
    if (boardBusy()) {
        return;
    }
    TJigsaw& j = *m_jigsaw;
    j.ArrangeInGrid(tray ? j.currentTray() : j.mainArea(), m_actions.SortByShape->isChecked(),
                    m_actions.SortByColor->isChecked());
}

void TMainForm::DisarrangeClick(bool tray) {
    if (boardBusy()) {
        return;
    }
    TJigsaw& j = *m_jigsaw;
    j.Disarrange(tray ? j.currentTray() : j.mainArea());
}

bool TMainForm::runArrangeCommand(PopupCommand command) {
    switch (command) {
    case PopupCommand::ArrangeAtEdgeTray:
        guarded([this] { ArrangeAtEdgeClick(true); });
        return true;
    case PopupCommand::ArrangeInGridTray:
        guarded([this] { ArrangeinGridClick(true); });
        return true;
    case PopupCommand::DisarrangeTray:
        guarded([this] { DisarrangeClick(true); });
        return true;
    default:
        return false;
    }
}

void TMainForm::connectCheatCommands() {
    connect(m_actions.Hint, &QAction::triggered, this, [this] { guarded([this] { Hint1Click(); }); });
    connect(m_actions.Solve, &QAction::triggered, this, [this] { guarded([this] { SolveClick(); }); });
    connect(m_actions.RightWayUp, &QAction::triggered, this,
            [this] { guarded([this] { RightWayUp1Click(); }); });
}

void TMainForm::RightWayUp1Click() {
    if (boardBusy()) {
        return;
    }
    m_jigsaw->RightWayUpAll();
}

void TMainForm::Hint1Click() {
    if (boardBusy()) {
        return;
    }
    m_jigsaw->FlashHint();
}

int32_t TMainForm::solveSpeed() const {
    return m_solveDlg ? m_solveDlg->speed() : 5;
}

void TMainForm::solveProgress(int32_t percent) {
    if (m_solveDlg) {
        m_solveDlg->setPercent(percent);
    }
}

void TMainForm::holdBoardCommands(bool hold) {
    if (!hold) {
        for (const auto& [item, enabled] : m_heldCommands) {
            if (auto* action = qobject_cast<QAction*>(item.data())) {
                action->setEnabled(enabled);
            } else if (auto* button = qobject_cast<QWidget*>(item.data())) {
                button->setEnabled(enabled);
            }
        }
        m_heldCommands.clear();
        applyCheatRule();
        return;
    }
    const Actions& a = m_actions;
    for (QAction* action :
         {a.PieceSize, a.ArrangeAtEdge, a.ArrangeInGrid, a.Disarrange, a.Outlines, a.Rotation,
          a.BackgroundColor, a.Hint, a.RightWayUp, a.Solve, m_popups.PlayHint, m_popups.PlaySolve}) {
        m_heldCommands.emplace_back(action, action->isEnabled());
        action->setEnabled(false);
    }
    for (const char* name : {"SpeedSize", "SpeedEdge", "SpeedGrid"}) {
        QToolButton* button = speedButton(name);
        m_heldCommands.emplace_back(button, button->isEnabled());
        button->setEnabled(false);
    }
}

void TMainForm::SolveClick() {
    if (boardBusy() || m_solveRunning) {
        return;
    }
    if (!m_solveDlg) {
        m_solveDlg = new TSolveDlg(this);
        // Closing the dialog by any means stops the solve.
        connect(m_solveDlg, &TSolveDlg::stopped, this, [this] {
            if (m_jigsaw) {
                m_jigsaw->AutoSolving = false;
            }
        });
    }
    const TGameState& state = m_jigsaw->State;
    m_solveDlg->setPercent(state.PieceCount > 0 ? state.SolvedCount * 100 / state.PieceCount : 0);
    m_solveDlg->show();
    m_solveRunning = true;
    holdBoardCommands(true);
    const auto finish = [this] {
        m_solveRunning = false;
        holdBoardCommands(false);
        if (m_solveDlg) {
            m_solveDlg->close();
        }
    };
    try {
        m_jigsaw->AutoSolve();
    } catch (...) {
        finish();
        m_restartPending = false;
        throw;
    }
    finish();
    if (m_restartPending) {
        m_restartPending = false;
        restartPuzzle();
    }
}

} // namespace zg

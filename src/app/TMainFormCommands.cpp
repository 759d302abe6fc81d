// The main window's command handlers and board events.

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"
#include "ui/MusicPlayer.h"
#include "ui/SoundPlayer.h"
#include "ui/SystemColors.h"

#include <QAction>
#include <QColorDialog>
#include <QDesktopServices>
#include <QLabel>
#include <QLayout>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace zg {

int TMainForm::outlineChoice() const {
    return m_actions.Outlines->data().toInt();
}

void TMainForm::FileExitClick() {
    close();
}

void TMainForm::ToolbarClick() {
    m_speedBar->setVisible(m_actions.Toolbar->isChecked());
    FormResize();
}

void TMainForm::StatusbarClick() {
    m_statusPanel->setVisible(m_actions.Statusbar->isChecked());
    FormResize();
}

void TMainForm::FormResize() {
    // Lay the window out now, so the board has its new size at once.
    if (QLayout* layout = centralWidget()->layout()) {
        layout->activate();
    }
    if (!m_boardLive || m_board->size() == m_lastBoardSize) {
        return;
    }
    if (m_jigsaw->IsMoveBusy()) {
        // A glide holds lifted pieces that a rebuilt board would lose: size
        // the board once it has ended.
        QTimer::singleShot(20, this, [this] { guarded([this] { FormResize(); }); });
        return;
    }
    m_lastBoardSize = m_board->size();
    m_jigsaw->SetBoardSize(m_board->width(), m_board->height());
    m_board->update();
}

void TMainForm::boardResized() {
    if (m_boardLive) {
        FormResize();
    }
}

void TMainForm::SoundClick() {
    const bool on = m_actions.Sound->isChecked();
    speedButton("SpeedSound")->setChecked(on);
    m_jigsaw->Config.SoundOn = on;
    // Switching on plays the join sound once as a sample.
    m_sounds->setSoundOn(on);
}

void TMainForm::MusicClick() {
    const bool on = m_actions.Music->isChecked();
    speedButton("SpeedMusic")->setChecked(on);
    if (on) {
        startMusic();
    } else {
        m_music->stop();
    }
}

void TMainForm::OutlinesClick(QAction* item) {
    m_actions.Outlines->setData(item->data().toInt());
    item->setChecked(true);
    m_jigsaw->PaintBoard(outlineChoice());
    m_board->update();
}

void TMainForm::RotationClick() {
    // The item has already toggled its check: that is the wanted state.
    const bool on = m_jigsaw->RotationOption(m_actions.Rotation->isChecked(), kRightWayUpQuestion);
    m_actions.Rotation->setChecked(on);
    m_popups.RotateRight->setEnabled(on);
    m_popups.RotateLeft->setEnabled(on);
    m_board->update();
}

void TMainForm::ShadowsClick() {
    m_jigsaw->Config.ShadowsOn = m_actions.Shadows->isChecked();
}

void TMainForm::ShowTimerClick() {
    if (m_jigsaw->IsPlaying()) {
        m_timerStatus->setVisible(m_actions.ShowTimer->isChecked());
    }
}

void TMainForm::ShowNumClick() {
    if (m_jigsaw->IsPlaying()) {
        m_solvedStatus->setVisible(m_actions.ShowNum->isChecked());
    }
}

void TMainForm::AllowCheatingClick() {
    m_jigsaw->Config.CheatingOn = m_actions.AllowCheating->isChecked();
    applyCheatRule();
}

void TMainForm::applyCheatRule() {
    const bool enabled = m_jigsaw && m_jigsaw->IsPlaying() && m_actions.AllowCheating->isChecked();
    for (QAction* item :
         {m_actions.Hint, m_actions.RightWayUp, m_actions.Solve, m_popups.PlayHint, m_popups.PlaySolve}) {
        item->setEnabled(enabled);
    }
}

void TMainForm::BackgroundColorClick() {
    const QColor chosen = QColorDialog::getColor(toQColor(m_boardColor), this);
    if (!chosen.isValid()) {
        return;
    }
    setBoardColor(rgb(uint8_t(chosen.red()), uint8_t(chosen.green()), uint8_t(chosen.blue())));
    m_jigsaw->SetBoardSize(m_board->width(), m_board->height());
    m_board->update();
}

void TMainForm::setBoardColor(Color colour) {
    m_boardColor = colour;
    m_board->setBoardColor(toQColor(colour));
    m_jigsaw->BoardColor = resolveBoardColor();
}

Color TMainForm::resolveBoardColor() const {
    return resolveColor(m_boardColor);
}

void TMainForm::openWebPage(const QString& address) {
    if (!QDesktopServices::openUrl(QUrl(address))) {
        showMessage(
            "Your web browser cannot be found. You can still visit our web site at " + address.toStdString() +
                " by typing the address into your browser yourself, or print the order form and mail it to "
                "us.",
            MessageKind::Information);
    }
}

} // namespace zg

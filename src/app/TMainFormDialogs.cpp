// The main window's dialogs: the picture window, piece size, quick help,
// the mouse action, about this jigsaw, the about box and the order form.

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "files/GiftFile.h"
#include "files/GiftInfo.h"
#include "files/InfoTexts.h"
#include "game/TJigsaw.h"
#include "ui/TAboutBox.h"
#include "ui/TAboutJigDlg.h"
#include "ui/TMouseDlg.h"
#include "ui/TOrderForm.h"
#include "ui/TOverlayForm.h"
#include "ui/TPieceSizeDlg.h"
#include "ui/TQuickHelpDlg.h"
#include "ui/TZoomForm.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace zg {

void TMainForm::createDialogs() {
    Actions& a = m_actions;

    m_overlay = new TOverlayForm(
        [this]() -> QImage {
            if (!m_jigsaw || !m_jigsaw->IsPlaying()) {
                return {};
            }
            return wrapBitmap(m_jigsaw->Picture);
        },
        this);
    connect(m_overlay, &TOverlayForm::closed, this, [this] { m_actions.Picture->setChecked(false); });
    connect(a.Picture, &QAction::triggered, this, [this] { guarded([this] { PictureClick(); }); });
    a.Picture->setEnabled(true);
    speedButton("SpeedPicture")->setEnabled(true);

    // The dialog works on whichever puzzle object is current when it shows.
    PieceSizeHooks hooks = pieceSizeHooksFor([this]() -> TJigsaw& { return *m_jigsaw; },
                                             [this] {
                                                 m_board->update();
                                                 m_overlay->update();
                                             });
    m_pieceSizeDlg = new TPieceSizeDlg(std::move(hooks), this);
    m_pieceSizeDlg->helpButton()->hide();
    connect(a.PieceSize, &QAction::triggered, this, [this] { guarded([this] { PieceSizeClick(); }); });

    m_quickHelp = new TQuickHelpDlg(this);
    connect(a.HelpQuick, &QAction::triggered, this, [this] { guarded([this] { m_quickHelp->exec(); }); });
    a.HelpQuick->setEnabled(true);
    speedButton("SpeedHelp")->setEnabled(true);

    m_mouseDlg = new TMouseDlg(this);
    connect(a.RightMouseButton, &QAction::triggered, this,
            [this] { guarded([this] { RightMouseButtonClick(); }); });
    a.RightMouseButton->setEnabled(true);

    m_aboutJig = new TAboutJigDlg(this);
    connect(a.HelpAboutJig, &QAction::triggered, this,
            [this] { guarded([this] { HelpAboutJigItemClick(); }); });

    m_aboutBox = new TAboutBox(this);
    connect(m_aboutBox, &TAboutBox::webPageRequested, this,
            [this](const QString& address) { guarded([this, &address] { openWebPage(address); }); });
    connect(a.HelpAbout, &QAction::triggered, this, [this] { guarded([this] { m_aboutBox->exec(); }); });
    a.HelpAbout->setEnabled(true);

    m_orderForm = new TOrderForm(this);
    connect(a.HelpOrder, &QAction::triggered, this, [this] { guarded([this] { HelpOrderItemClick(); }); });
    a.HelpOrder->setEnabled(true);
}

void TMainForm::connectSplashOrder(TSplashForm& splash) {
    splash.setOrderAvailable(true);
    connect(&splash, &TSplashForm::orderRequested, this,
            [this] { guarded([this] { HelpOrderItemClick(); }); });
}

void TMainForm::dialogsPuzzleStarted() {
    m_actions.HelpAboutJig->setEnabled(true);
    m_actions.PieceSize->setEnabled(true);
    speedButton("SpeedSize")->setEnabled(true);
    // The picture window shows the new picture; when the option is on it
    // appears now, its height fitted to the picture.
    m_overlay->fitHeightToWidth();
    if (m_actions.Picture->isChecked()) {
        showOverlay();
    }
}

void TMainForm::showOverlay() {
    m_overlay->showOver(QRect(m_board->mapToGlobal(QPoint(0, 0)), m_board->size()));
}

void TMainForm::PictureClick() {
    if (!m_jigsaw || !m_jigsaw->IsPlaying()) {
        return;
    }
    if (m_actions.Picture->isChecked()) {
        showOverlay();
        m_overlay->update();
    } else {
        m_overlay->hide();
    }
}

void TMainForm::PieceSizeClick() {
    // Re-cutting under a running auto-solve would pull its pieces away.
    if (!m_jigsaw->IsPlaying() || m_jigsaw->AutoSolving) {
        return;
    }
    const TGameState& s = m_jigsaw->State;
    m_pieceSizeDlg->load(s.Style, s.Oddness, s.ScalePercent);
    m_pieceSizeDlg->exec();
}

void TMainForm::HelpOrderItemClick() {
    if (m_gift && m_orderForm->giftTitleEdit()->text().isEmpty()) {
        m_orderForm->setGiftTitle(QString::fromStdString(m_gift->info().Title));
    }
    m_orderForm->exec();
}

void TMainForm::RightMouseButtonClick() {
    m_mouseDlg->setAction(int(m_mouseAction));
    if (m_mouseDlg->exec() == QDialog::Accepted) {
        m_mouseAction = m_mouseDlg->action() == 1 ? MouseAction::Alternative : MouseAction::Default;
        m_jigsaw->MouseAction = m_mouseAction;
    }
    if (!m_actions.Rotation->isChecked() && m_mouseAction != MouseAction::Default) {
        showMessage(kAlternativeMouseReminder, MessageKind::Information);
    }
}

void TMainForm::HelpAboutJigItemClick() {
    m_aboutJig->fill(aboutTexts(m_jigsaw->State, shortDateText));
    m_aboutJig->exec();
}

bool TMainForm::isOverlayActive() const {
    return m_overlay != nullptr && QApplication::activeWindow() == m_overlay;
}

} // namespace zg

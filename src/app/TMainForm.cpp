#include "app/TMainForm.h"

#include "app/BoardWidget.h"
#include "files/GiftFile.h"
#include "game/TJigsaw.h"
#include "ui/FontMapping.h"
#include "ui/Glyphs.h"
#include "ui/MusicPlayer.h"
#include "ui/SoundPlayer.h"
#include "ui/SystemColors.h"
#include "ui/TCongratsDlg.h"
#include "ui/TSplashForm.h"
#include "ui/TZoomForm.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QToolButton>

namespace zg {

namespace {
constexpr int kWindowWidth = 603;
constexpr int kWindowHeight = 501;
constexpr int kStartInterval = 100;
} // namespace

TMainForm::TMainForm(std::string giftPath, QWidget* parent)
    : QMainWindow(parent), m_giftPath(std::move(giftPath)), m_clock(10), m_boardColor(rgb(255, 255, 255)) {
    FormCreate();
}

TMainForm::~TMainForm() {
    // FormDestroy: the music file goes with its folder, then the puzzle, then
    // the sound layer.
    m_timer.stop();
    if (m_music) {
        m_music->stop();
    }
    m_musicDir.reset();
    if (m_splash) {
        delete m_splash.data();
    }
    m_board->setSource(nullptr);
    m_jigsaw.reset();
    m_music.reset();
    m_sounds.reset();
    restoreBusyCursor();
}

void TMainForm::FormCreate() {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zanthoria Gift"));
    createLayout();
    createMenus();
    createToolbar();
    createPopups();
    createTrayBar();
    createDialogs();
    connectArrangeCommands();
    connectCheatCommands();
    resize(kWindowWidth, kWindowHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWindowWidth / 2, kWindowHeight / 2));
    }

    qApp->installEventFilter(this);
    m_sounds = std::make_unique<SoundPlayer>();
    m_music = std::make_unique<MusicPlayer>();
    try {
        m_grabCursor = loadBoardCursor();
    } catch (const std::exception&) {
        m_grabCursor = QCursor(Qt::ClosedHandCursor);
    }

    connect(m_board, &BoardWidget::boardResized, this, [this] { guarded([this] { boardResized(); }); });
    connect(m_board, &BoardWidget::boardMousePressed, this,
            [this](QMouseEvent* e) { guarded([this, e] { boardMousePressed(e); }); });
    connect(m_board, &BoardWidget::boardMouseMoved, this,
            [this](QMouseEvent* e) { guarded([this, e] { boardMouseMoved(e); }); });
    connect(m_board, &BoardWidget::boardMouseReleased, this,
            [this](QMouseEvent* e) { guarded([this, e] { boardMouseReleased(e); }); });

    newPuzzleObject();

    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(kStartInterval);
    connect(&m_timer, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });

    m_splash = new TSplashForm(nullptr);
    m_splash->setGiftText(QString());
    connectSplashOrder(*m_splash);
    connect(m_splash, &TSplashForm::webPageRequested, this,
            [this](const QString& address) { guarded([this, &address] { openWebPage(address); }); });
    m_splash->show();
}

// ---- Host ----

void TMainForm::setStatusText(const std::string& text) {
    m_statusText->setText(QString::fromStdString(text));
    // Long steps report progress without returning to the event loop.
    if (m_statusText->isVisible()) {
        m_statusText->repaint();
    }
}

void TMainForm::setCursor(CursorShape shape) {
    if (shape == CursorShape::Busy) {
        if (!m_busyCursor) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            m_busyCursor = true;
        }
        return;
    }
    restoreBusyCursor();
    switch (shape) {
    case CursorShape::Grab:
        m_board->setCursor(m_grabCursor);
        break;
    case CursorShape::Hand:
        m_board->setCursor(Qt::PointingHandCursor);
        break;
    case CursorShape::SizeNS:
        m_board->setCursor(Qt::SizeVerCursor);
        break;
    case CursorShape::SizeWE:
        m_board->setCursor(Qt::SizeHorCursor);
        break;
    case CursorShape::SizeNWSE:
        m_board->setCursor(Qt::SizeFDiagCursor);
        break;
    case CursorShape::SizeNESW:
        m_board->setCursor(Qt::SizeBDiagCursor);
        break;
    case CursorShape::SizeAll:
        m_board->setCursor(Qt::SizeAllCursor);
        break;
    case CursorShape::Default:
    case CursorShape::Busy:
        m_board->unsetCursor();
        break;
    }
}

void TMainForm::restoreBusyCursor() {
    if (m_busyCursor) {
        QApplication::restoreOverrideCursor();
        m_busyCursor = false;
    }
}

void TMainForm::presentNow(const Rect& r) {
    if (!r.isEmpty()) {
        m_board->repaint(QRect(r.Left, r.Top, r.width(), r.height()));
    }
}

void TMainForm::invalidate(const Rect& r) {
    if (!r.isEmpty()) {
        m_board->update(QRect(r.Left, r.Top, r.width(), r.height()));
    }
}

void TMainForm::processEvents() {
    QCoreApplication::processEvents();
}

bool TMainForm::isShiftDown() const {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool TMainForm::isCtrlDown() const {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

bool TMainForm::isLeftButtonDown() const {
    return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

bool TMainForm::isMousePressPending() const {
    // Let waiting events arrive while user input is held back by the filter:
    // a press is noted, and every input event is set aside, so nothing
    // re-enters the board while an animation asks. The input goes back into
    // the queue in its order: the press that stops a glide (a click on
    // "Stop!", say) and the keys and releases around it still arrive.
    m_peekingPresses = true;
    QCoreApplication::processEvents();
    m_peekingPresses = false;
    for (auto& [receiver, held] : m_heldInput) {
        if (receiver) {
            QCoreApplication::postEvent(receiver.data(), held.release());
        }
    }
    m_heldInput.clear();
    const bool pending = m_pressPending;
    m_pressPending = false;
    return pending;
}

int64_t TMainForm::nowMs() const {
    return m_clock.Now();
}

void TMainForm::waitUntilMs(int64_t deadline) {
    m_clock.waitUntil(deadline);
}

void TMainForm::showMessage(const std::string& text, MessageKind kind) {
    if (m_holdMessages) {
        m_heldMessages.emplace_back(text, kind);
        return;
    }
    const QString message = QString::fromStdString(text);
    const QString title = windowTitle();
    switch (kind) {
    case MessageKind::Information:
        QMessageBox::information(this, title, message);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(this, title, message);
        break;
    case MessageKind::Error:
        QMessageBox::critical(this, title, message);
        break;
    }
}

Answer TMainForm::askQuestion(const std::string& text, bool withCancel) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) {
        buttons |= QMessageBox::Cancel;
    }
    const auto answer =
        QMessageBox::question(this, windowTitle(), QString::fromStdString(text), buttons, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        return Answer::Yes;
    }
    if (answer == QMessageBox::No) {
        return Answer::No;
    }
    return withCancel ? Answer::Cancel : Answer::No;
}

void TMainForm::playSound(int effect) {
    m_sounds->play(effect);
}

void TMainForm::showCongratulations(const std::string& status) {
    TCongratsDlg dialog(this);
    dialog.setStatusText(QString::fromStdString(status));
    if (m_jigsaw) {
        dialog.setPicture(wrapBitmap(m_jigsaw->originalPicture()));
    }
    dialog.exec();
}

void TMainForm::showZoomPicture() {
    if (!m_jigsaw) {
        return;
    }
    // The window only borrows the picture's memory; the puzzle outlives it.
    TZoomForm zoom(wrapBitmap(m_jigsaw->originalPicture()), this);
    zoom.exec();
}

void TMainForm::puzzleStarted() {
    Actions& a = m_actions;
    for (QAction* item : {a.ArrangeAtEdge, a.ArrangeInGrid, a.Disarrange, a.ZoomPicture}) {
        item->setEnabled(true);
    }
    for (const char* name : {"SpeedEdge", "SpeedGrid"}) {
        speedButton(name)->setEnabled(true);
    }
    a.HelpAboutJig->setVisible(true);
    m_timerStatus->setVisible(a.ShowTimer->isChecked());
    m_solvedStatus->setVisible(a.ShowNum->isChecked());
    applyCheatRule();
    dialogsPuzzleStarted();
}

int TMainForm::displayDepth() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

void TMainForm::drawText(Bitmap24& target, const Rect& clip, int32_t x, int32_t y, const std::string& text,
                         const FontSpec& font, Color color) {
    if (target.isEmpty()) {
        return;
    }
    // Paints straight into the bitmap's rows: blue, green, red bytes.
    QImage image(target.data(), target.width(), target.height(), qsizetype(target.stride()),
                 QImage::Format_BGR888);
    QPainter painter(&image);
    painter.setClipRect(QRect(clip.Left, clip.Top, clip.width(), clip.height()));
    const QFont qfont = toQFont(font);
    painter.setFont(qfont);
    painter.setPen(toQColor(color));
    painter.drawText(x, y + QFontMetrics(qfont).ascent(), QString::fromStdString(text));
}

Point TMainForm::textExtent(const std::string& text, const FontSpec& font) {
    const QFontMetrics metrics(toQFont(font));
    return {metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

// ---- Events ----

bool TMainForm::event(QEvent* event) {
    // Every hint goes to the status line, as the menus and buttons give it.
    if (event->type() == QEvent::StatusTip) {
        m_statusText->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    // A modal window (the completion dialogs opened by the tick, the zoomed
    // picture, a message) now takes the mouse: the release of a drag in
    // progress would never reach the board and the pieces would stay lifted.
    if (event->type() == QEvent::WindowBlocked && m_boardLive && m_jigsaw) {
        guarded([this] { m_jigsaw->abandonBoardInput(); });
    }
    return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (m_peekingPresses) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_pressPending = true;
            m_heldInput.emplace_back(watched, event->clone());
            return true;
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            m_heldInput.emplace_back(watched, event->clone());
            return true;
        default:
            break;
        }
    }
    // The window sees every key first: held keys change the mouse help.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        guarded([this, key] { keysChanged(key); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::reportError(const std::exception& error) {
    restoreBusyCursor();
    QMessageBox::critical(this, windowTitle(), QString::fromUtf8(error.what()));
}

} // namespace zg

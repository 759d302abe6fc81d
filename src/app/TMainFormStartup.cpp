// Start-up, the window timer, restart and the close flow of the main window.

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "files/GiftFile.h"
#include "files/GiftInfo.h"
#include "files/SaveFiles.h"
#include "game/TJigsaw.h"
#include "ui/GiftLook.h"
#include "ui/MusicPlayer.h"
#include "ui/SoundPlayer.h"
#include "ui/TSolveDlg.h"
#include "ui/TSplashForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QTemporaryDir>
#include <QToolButton>

namespace zg {

namespace {

constexpr int kTickInterval = 1000;

/// Shows the busy cursor until it goes out of scope, whatever happens.
class BusyCursor {
public:
    explicit BusyCursor(Host& host) : m_host(host) { m_host.setCursor(CursorShape::Busy); }
    ~BusyCursor() { m_host.setCursor(CursorShape::Default); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Host& m_host;
};

} // namespace

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown) {
        return;
    }
    m_shown = true;
    FormShow();
}

void TMainForm::FormShow() {
    m_soundNames = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                    QStringLiteral("5")};
    try {
        ReadGiftInfo();
    } catch (const std::exception& error) {
        // Nothing can be played: close the splash, say why and end.
        if (m_splash) {
            m_splash->hide();
        }
        m_startFailed = true;
        reportError(error);
        emit startupFailed();
        close();
        return;
    }
    m_timer.start();
}

void TMainForm::ReadGiftInfo() {
    m_gift = std::make_unique<GiftFile>(GiftFile::open(m_giftPath));
    const TGiftInfo& info = m_gift->info();
    m_jigsaw->ProgramPath = m_gift->programPath();
    m_jigsaw->DataHome = defaultDataHome();

    if (m_splash) {
        m_splash->setGiftText(QString::fromStdString(makerVersionLabel(info.MakerVersion)));
        m_splash->setMessage(giftMessageText(info.StartMessage),
                             giftMessageLook(info.StartFont, info.StartBackground, info.StartAlign));
    }

    // The music goes to a private folder that disappears with the window.
    if (m_musicFileName.isEmpty() || !QFileInfo::exists(m_musicFileName)) {
        if (!m_musicDir) {
            m_musicDir = std::make_unique<QTemporaryDir>();
        }
        m_musicFileName =
            m_musicDir->isValid()
                ? QString::fromStdString(m_gift->ExtractGiftMusic(m_musicDir->path().toStdString()))
                : QString();
    }
    if (m_musicFileName.isEmpty()) {
        m_actions.Music->setChecked(false);
        speedButton("SpeedMusic")->setChecked(false);
    }

    initGameState(info, m_jigsaw->State);

    setBoardColor(info.BackgroundColor);
    const int outline = std::clamp(int(info.OutlineStyle), 0, 3);
    m_actions.OutlineItems[outline]->setChecked(true);
    m_actions.Outlines->setData(outline);
    m_actions.Rotation->setChecked(info.RotationOn != 0);
    m_popups.RotateRight->setEnabled(info.RotationOn != 0);
    m_popups.RotateLeft->setEnabled(info.RotationOn != 0);
    snapshotConfig();
}

void TMainForm::snapshotConfig() {
    TJigConfig& config = m_jigsaw->Config;
    config.OutlineStyle = outlineChoice();
    config.ShadowsOn = m_actions.Shadows->isChecked();
    config.RotationOn = m_actions.Rotation->isChecked();
    config.CheatingOn = m_actions.AllowCheating->isChecked();
    config.SoundOn = m_actions.Sound->isChecked();
    config.GhostOn = m_actions.GhostPicture->isChecked();
    config.BoardWidth = m_board->width();
    config.BoardHeight = m_board->height();
}

void TMainForm::newPuzzleObject() {
    m_boardLive = false;
    m_board->setSource(nullptr);
    m_jigsaw = std::make_unique<TJigsaw>(*this);
    m_jigsaw->MouseAction = m_mouseAction;
    m_jigsaw->BoardColor = resolveBoardColor();
    snapshotConfig();
    m_jigsaw->SetBoardSize(m_board->width(), m_board->height());
    const bool rotation = m_jigsaw->Config.RotationOn;
    m_popups.RotateRight->setEnabled(rotation);
    m_popups.RotateLeft->setEnabled(rotation);
    speedButton("SpeedSound")->setChecked(m_jigsaw->Config.SoundOn);
    applyCheatRule();
}

bool TMainForm::buildPuzzle(bool mayResume) {
    BusyCursor busy(*this);
    m_jigsaw->BuildPuzzle(m_gift->LoadGiftPicture());
    m_jigsaw->Config.BoardWidth = m_board->width();
    m_jigsaw->Config.BoardHeight = m_board->height();
    bool resumed = false;
    if (mayResume) {
        resumed = m_jigsaw->TryResume();
    } else {
        m_jigsaw->NewLayout();
        m_jigsaw->SetGameState(TJigsaw::kPlaying);
    }
    m_everBuilt = true;
    m_boardLive = true;
    m_jigsaw->SetBoardSize(m_board->width(), m_board->height());
    m_lastBoardSize = m_board->size();
    m_board->setSource(&m_jigsaw->BackBuffer);
    m_board->update();
    resetRecoveryClock();
    return resumed;
}

void TMainForm::Timer1Timer() {
    if (m_startPending) {
        // A window on its way out builds nothing.
        if (!m_closing) {
            firstTick();
        }
        return;
    }
    if (m_boardLive) {
        statusUpdate();
        recoveryTick();
    }
}

void TMainForm::firstTick() {
    // Cleared first: ticks keep coming while the splash below is modal.
    m_startPending = false;
    m_timer.setInterval(kTickInterval);
    {
        BusyCursor busy(*this);
        if (m_splash) {
            m_splash->setButtonsEnabled(false);
        }
        try {
            // A message about the saved game waits until the banner is gone.
            m_holdMessages = true;
            m_resumedAtStart = buildPuzzle(true);
            m_holdMessages = false;
        } catch (const std::exception& error) {
            m_holdMessages = false;
            m_heldMessages.clear();
            if (m_splash) {
                m_splash->hide();
            }
            m_startFailed = true;
            reportError(error);
            emit startupFailed();
            close();
            return;
        }
        statusUpdate();
        if (m_splash) {
            m_splash->hide();
            m_splash->setButtonsEnabled(true);
        }
    }
    for (const auto& [text, kind] : std::exchange(m_heldMessages, {})) {
        showMessage(text, kind);
    }
    // The cursor is back to normal before the splash asks the user anything.
    if (m_splash) {
        if (m_resumedAtStart) {
            m_splash->showResumeBox();
        }
        m_splash->setStayOnTop(false);
        m_splash->exec();
        if (m_resumedAtStart && !m_splash->isBoxChecked()) {
            // Declined: the saved game goes and the gift starts afresh. The
            // new game never looks for a saved game, so one that could not
            // be deleted is not resumed after all.
            m_resumedAtStart = false;
            m_jigsaw->DeleteSavedGame();
            newPuzzleObject();
            ReadGiftInfo();
            buildPuzzle(false);
        }
    }
    // The board takes the keyboard and the clock runs while it is active.
    activateWindow();
    startMusic();
}

QString TMainForm::timeSeparator() {
    const QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
    for (const QChar c : format) {
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\'')) {
            return QString(c);
        }
    }
    return QStringLiteral(":");
}

QString TMainForm::clockText(int32_t seconds) {
    const QString separator = timeSeparator();
    return QStringLiteral("%1%2%3%4%5")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(separator)
        .arg((seconds % 3600) / 60, 2, 10, QLatin1Char('0'))
        .arg(separator)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool TMainForm::clockRuns() const {
    const QWidget* active = QApplication::activeWindow();
    // Auto-solve keeps the clock going even with the program in the background.
    return active == this || isOverlayActive() || (active != nullptr && active == m_solveDlg) ||
           m_jigsaw->AutoSolving;
}

void TMainForm::statusUpdate() {
    if (!m_jigsaw->IsPlaying()) {
        return;
    }
    TGameState& state = m_jigsaw->State;
    if (m_actions.ShowNum->isChecked()) {
        m_solvedStatus->setText(
            QStringLiteral("Solved %1 of %2").arg(state.SolvedCount).arg(state.PieceCount));
    }
    if (m_actions.ShowTimer->isChecked()) {
        const QString text = clockText(state.ElapsedSeconds);
        m_timerStatus->setText(text);
        m_timerStatus->setAlignment(Qt::AlignCenter);
        const int width =
            QFontMetrics(m_timerStatus->font()).horizontalAdvance(text) + 2 * m_timerStatus->frameWidth() + 6;
        if (m_timerStatus->width() != width) {
            m_timerStatus->setFixedWidth(width);
        }
    }
    if (!state.Solved && clockRuns()) {
        ++state.ElapsedSeconds;
    }
    // Completion waits until auto-solve has ended and closed its dialog.
    if (!m_jigsaw->AutoSolving) {
        m_jigsaw->CheckCompletion();
    }
}

void TMainForm::startMusic() {
    if (!m_actions.Music->isChecked()) {
        return;
    }
    m_music->setFileName(m_musicFileName);
    if (m_music->start() == MusicPlayer::StartResult::NoMusic) {
        m_actions.Music->setChecked(false);
        speedButton("SpeedMusic")->setChecked(false);
        showMessage(MusicPlayer::kNoMusicText, MessageKind::Information);
    }
}

void TMainForm::Restart1Click() {
    // A flash or glide would lose its pieces; it ends in moments.
    if (m_jigsaw->IsBusy() && !m_jigsaw->AutoSolving) {
        return;
    }
    if (askQuestion("This will restart the jigsaw from scratch. Are you sure?", true) != Answer::Yes) {
        return;
    }
    if (m_solveRunning) {
        // The running solve still uses the puzzle: stop it, and restart once
        // it has returned.
        m_jigsaw->DeleteSavedGame();
        m_restartPending = true;
        return;
    }
    restartPuzzle();
}

void TMainForm::restartPuzzle() {
    m_jigsaw->DeleteSavedGame();
    newPuzzleObject();
    ReadGiftInfo();
    buildPuzzle(false);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    guarded([this] { FormClose(); });
    // Whatever happened above, nothing of the game runs on.
    if (m_splash) {
        delete m_splash.data();
    }
    m_timer.stop();
    m_jigsaw->AutoSolving = false;
    m_boardLive = false;
    event->accept();
}

void TMainForm::FormClose() {
    if (m_actions.Music->isChecked() && m_music->isPlaying()) {
        m_music->stop();
    }
    if (m_startFailed) {
        return;
    }
    if (m_splash) {
        delete m_splash.data();
    }
    m_splash = new TSplashForm(this);
    connectSplashOrder(*m_splash);
    connect(m_splash, &TSplashForm::webPageRequested, this,
            [this](const QString& address) { guarded([this, &address] { openWebPage(address); }); });
    m_splash->setStayOnTop(false);
    m_splash->makeExitVariant();
    if (m_gift && m_everBuilt) {
        const TGiftInfo& info = m_gift->info();
        m_splash->setGiftText(QString::fromStdString(makerVersionLabel(info.MakerVersion)));
    } else {
        m_splash->setGiftText(QString());
    }
    if (m_gift) {
        const TGiftInfo& info = m_gift->info();
        m_splash->setMessage(giftMessageText(info.EndMessage),
                             giftMessageLook(info.EndFont, info.EndBackground, info.EndAlign));
    }
    m_splash->exec();
    // Only a game that was built is saved; unticked, an older save stays.
    const bool playing = m_everBuilt && m_jigsaw->IsPlaying();
    const bool keepRecovery = playing && m_splash && m_splash->isBoxChecked() && !saveAtExit();
    // A clean exit leaves no recovery copy, unless it is all that holds a game
    // the user wanted to keep.
    if (playing && !keepRecovery) {
        SavedGameFiles(m_jigsaw->ProgramPath, m_jigsaw->DataHome).removeRecovery();
    }
}

} // namespace zg

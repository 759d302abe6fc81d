#pragma once

#include "host/Host.h"
#include "ui/THRTimer.h"
#include "ui/TSolveDlg.h"
#include "ui/TSplashForm.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class QActionGroup;
class QKeyEvent;
class QMouseEvent;
class QLabel;
class QMenu;
class QTemporaryDir;
class QToolButton;

namespace zg {

class BoardWidget;
class GiftFile;
class TAboutBox;
class TAboutJigDlg;
class TMouseDlg;
class TOrderForm;
class TOverlayForm;
class TPieceSizeDlg;
class TQuickHelpDlg;
class MusicPlayer;
class SoundPlayer;
class TJigsaw;

/// The main window: board, toolbar, tray bar, status line and menus. It owns
/// the puzzle object, forwards every command to it and is the puzzle's Host.
/// Its timer drives the start-up, the clock and the status panels.
///
/// Every slot and event handler catches what the core throws and shows the
/// message in a box; nothing escapes into the toolkit.
class TMainForm : public QMainWindow, public Host {
    Q_OBJECT
public:
    /// @param giftPath the gift to read when the window is first shown (the
    ///        running program in normal use).
    explicit TMainForm(std::string giftPath, QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- Host ----
    void setStatusText(const std::string& text) override;
    void setCursor(CursorShape shape) override;
    void presentNow(const Rect& r) override;
    void invalidate(const Rect& r) override;
    void processEvents() override;
    bool isShiftDown() const override;
    bool isCtrlDown() const override;
    bool isLeftButtonDown() const override;
    bool isMousePressPending() const override;
    int64_t nowMs() const override;
    void waitUntilMs(int64_t deadline) override;
    void showMessage(const std::string& text, MessageKind kind) override;
    Answer askQuestion(const std::string& text, bool withCancel) override;
    void playSound(int effect) override;
    void showCongratulations(const std::string& status) override;
    void showZoomPicture() override;
    void puzzleStarted() override;
    void trayGlyphChanged(int32_t number, bool full) override;
    void trayOpenChanged(int32_t number, bool open) override;
    PopupCommand popupMenu(PopupKind kind, Point boardPoint, const PopupState& enabling) override;
    void runBoardCommand(PopupCommand command) override;
    int32_t solveSpeed() const override;
    void solveProgress(int32_t percent) override;
    TrayBarMetrics trayBarMetrics() const override;
    void applyTrayBar(const TrayBarLayout& layout) override;
    int displayDepth() const override;
    void drawText(Bitmap24& target, const Rect& clip, int32_t x, int32_t y, const std::string& text,
                  const FontSpec& font, Color color) override;
    Point textExtent(const std::string& text, const FontSpec& font) override;
    bool musicOn() const override;
    std::optional<Color> boardColorChoice() const override;
    void restoreBoardColor(Color colour) override;
    void restoreOptions(const TJigConfig& config, bool music) override;

    // ---- State, for the program entry and for tests ----
    /// True once reading the gift failed; the window then closes and the
    /// program ends with a failure code.
    bool startFailed() const { return m_startFailed; }
    /// True once the first build has finished: mouse, paint, resize and timer
    /// work on the board only from then on.
    bool isBoardLive() const { return m_boardLive; }
    TJigsaw& jigsaw() const { return *m_jigsaw; }
    BoardWidget* board() const { return m_board; }
    TSplashForm* splash() const { return m_splash; }
    /// The auto-solve speed dialog, or nullptr before the first auto-solve.
    TSolveDlg* solveDialog() const { return m_solveDlg; }
    QTimer& timer() { return m_timer; }
    QLabel* statusLine() const { return m_statusText; }
    QLabel* solvedStatus() const { return m_solvedStatus; }
    QLabel* timerStatus() const { return m_timerStatus; }
    QWidget* speedBar() const { return m_speedBar; }
    QWidget* statusPanel() const { return m_statusPanel; }
    QWidget* boxBar() const { return m_boxBar; }
    SoundPlayer* sounds() const { return m_sounds.get(); }
    /// The path of the music extracted from the gift, or empty.
    QString musicFileName() const { return m_musicFileName; }
    /// The outline choice (0 None .. 3 Wood), kept as the Outlines item's tag.
    int outlineChoice() const;
    /// The board size the window last gave the puzzle.
    QSize lastBoardSize() const { return m_lastBoardSize; }
    /// True when the game on the board was resumed from a saved game at start-up.
    bool resumedAtStart() const { return m_resumedAtStart; }

    // The dialogs, created once with the window.
    TOverlayForm* overlayForm() const { return m_overlay; }
    TPieceSizeDlg* pieceSizeDialog() const { return m_pieceSizeDlg; }
    TQuickHelpDlg* quickHelpDialog() const { return m_quickHelp; }
    TMouseDlg* mouseDialog() const { return m_mouseDlg; }
    TAboutJigDlg* aboutJigDialog() const { return m_aboutJig; }
    TAboutBox* aboutBox() const { return m_aboutBox; }
    TOrderForm* orderForm() const { return m_orderForm; }
    /// The right mouse button's action, kept by the window across restarts.
    MouseAction mouseAction() const { return m_mouseAction; }

    /// The status-update text of the clock panel for `seconds`.
    static QString clockText(int32_t seconds);
    /// The locale's separator between hours, minutes and seconds.
    static QString timeSeparator();

signals:
    /// The gift could not be read or built: the window closes and the
    /// program should end with a failure code.
    void startupFailed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building the window (TMainFormMenus.cpp).
    void createLayout();
    void createMenus();
    void createToolbar();
    void createPopups();
    void createTrayBar();
    QAction* addItem(QMenu* menu, const QString& caption, const QString& hint);
    QToolButton* addSpeedButton(const char* name, int x, const QString& hint, QAction* action);

    // Start-up and close (TMainFormStartup.cpp).
    void FormCreate();
    void FormShow();
    void ReadGiftInfo();
    /// Builds the puzzle from the gift, then resumes the saved game when
    /// `mayResume` and there is one, else lays out a new game.
    /// @returns true when a saved game was resumed.
    bool buildPuzzle(bool mayResume);
    void Timer1Timer();
    void firstTick();
    void statusUpdate();
    void FormClose();
    // Saved game and recovery copy (TMainFormSave.cpp).
    /// Saves at exit; says once per run when neither place could be written.
    /// @returns whether the game was saved.
    bool saveAtExit();
    /// Run by the clock tick: writes the recovery copy after a join, and after
    /// 60 seconds of play that changed the board.
    void recoveryTick();
    /// Takes the current board as the last one the recovery copy holds.
    void resetRecoveryClock();
    void Restart1Click();
    /// Builds the puzzle afresh from the gift (Restart after its question).
    void restartPuzzle();
    void newPuzzleObject();
    void snapshotConfig();
    bool clockRuns() const;
    void startMusic();
    void stopMusic();

    // Commands (TMainFormCommands.cpp).
    void FileExitClick();
    void ToolbarClick();
    void StatusbarClick();
    void FormResize();
    void SoundClick();
    void MusicClick();
    void OutlinesClick(QAction* item);
    void RotationClick();
    void ShadowsClick();
    void ShowTimerClick();
    void ShowNumClick();
    void AllowCheatingClick();
    void BackgroundColorClick();
    void applyCheatRule();
    void setBoardColor(Color colour);
    Color resolveBoardColor() const;
    void openWebPage(const QString& address);

    // Dialogs (TMainFormDialogs.cpp).
    void createDialogs();
    void dialogsPuzzleStarted();
    void connectSplashOrder(TSplashForm& splash);
    void PictureClick();
    void showOverlay();
    void PieceSizeClick();
    void RightMouseButtonClick();
    void HelpAboutJigItemClick();
    void HelpOrderItemClick();
    bool isOverlayActive() const;

    // Arranging and cheats (TMainFormCheats.cpp).
    void connectArrangeCommands();
    /// True while an animation or auto-solve runs: commands that would rebuild
    /// or rearrange the board under it are ignored.
    bool boardBusy() const;
    void ArrangeAtEdgeClick(bool tray);
    void ArrangeinGridClick(bool tray);
    void DisarrangeClick(bool tray);
    /// Runs a tray popup's arranging command; false for other commands.
    bool runArrangeCommand(PopupCommand command);
    void connectCheatCommands();
    void Hint1Click();
    void RightWayUp1Click();
    void SolveClick();
    /// Enables or disables the commands that must not run while auto-solve
    /// does; enabling restores the states they had before.
    void holdBoardCommands(bool hold);

    // Board events (TMainFormBoardInput.cpp).
    void boardResized();
    void boardMousePressed(QMouseEvent* event);
    void boardMouseMoved(QMouseEvent* event);
    void boardMouseReleased(QMouseEvent* event);
    void keysChanged(QKeyEvent* event);
    /// The main-window item a board popup's window command stands for, or
    /// nullptr for the commands the puzzle runs itself.
    QAction* windowAction(PopupCommand command) const;

    /// Runs `work`, showing any error it raises in a message box.
    template <typename F> void guarded(F&& work) {
        try {
            work();
        } catch (const std::exception& error) {
            reportError(error);
        } catch (...) {
            reportError(std::runtime_error("Unexpected error"));
        }
    }
    void reportError(const std::exception& error);
    void restoreBusyCursor();

    std::string m_giftPath;
    std::unique_ptr<TJigsaw> m_jigsaw;
    std::unique_ptr<GiftFile> m_gift;
    std::unique_ptr<SoundPlayer> m_sounds;
    std::unique_ptr<MusicPlayer> m_music;
    THRTimer m_clock;
    std::unique_ptr<QTemporaryDir> m_musicDir;
    QString m_musicFileName;
    QStringList m_soundNames;
    ShiftState m_lastShift;
    bool m_boardLive = false;
    bool m_startPending = true;
    bool m_shown = false;
    bool m_startFailed = false;
    bool m_closing = false;
    bool m_everBuilt = false;
    bool m_resumedAtStart = false;
    bool m_saveFailureShown = false;
    /// Message boxes wait while the start-up splash is on top of everything.
    bool m_holdMessages = false;
    std::vector<std::pair<std::string, MessageKind>> m_heldMessages;
    /// The last board the recovery copy holds (clock field cleared), the
    /// groups it had and the ticks since it was written.
    std::vector<uint8_t> m_recoveryImage;
    std::size_t m_recoveryGroups = 0;
    int m_recoveryTicks = 0;
    bool m_recoveryDirty = false;
    bool m_busyCursor = false;
    mutable bool m_pressPending = false;
    mutable bool m_peekingPresses = false;
    /// Input set aside while an animation peeks for presses, with its receiver.
    mutable std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_heldInput;
    QSize m_lastBoardSize;
    QPointer<TSolveDlg> m_solveDlg;
    bool m_solveRunning = false;   ///< SolveClick is on the stack
    bool m_restartPending = false; ///< Restart was confirmed during auto-solve
    std::vector<std::pair<QPointer<QObject>, bool>> m_heldCommands; ///< commands held during auto-solve
    Color m_boardColor;

    QTimer m_timer;
    QPointer<TSplashForm> m_splash;
    QCursor m_grabCursor;

    // Window parts.
    QWidget* m_speedBar = nullptr;
    BoardWidget* m_board = nullptr;
    QWidget* m_boxBar = nullptr;
    QWidget* m_statusPanel = nullptr;
    QLabel* m_statusText = nullptr;
    QLabel* m_solvedStatus = nullptr;
    QLabel* m_timerStatus = nullptr;
    QToolButton* m_boxTemplate = nullptr;
    QToolButton* m_scrollButtons[4] = {};
    std::map<int32_t, QToolButton*> m_trayButtons;

    // Dialogs, owned as the window's children.
    MouseAction m_mouseAction = MouseAction::Default;
    TOverlayForm* m_overlay = nullptr;
    TPieceSizeDlg* m_pieceSizeDlg = nullptr;
    TQuickHelpDlg* m_quickHelp = nullptr;
    TMouseDlg* m_mouseDlg = nullptr;
    TAboutJigDlg* m_aboutJig = nullptr;
    TAboutBox* m_aboutBox = nullptr;
    TOrderForm* m_orderForm = nullptr;

public:
    /// The window's commands, by the names their handlers carry.
    struct Actions {
        QAction* FileExit = nullptr;
        QAction* Toolbar = nullptr;
        QAction* Statusbar = nullptr;
        QAction* ZoomPicture = nullptr;
        QAction* ArrangeAtEdge = nullptr;
        QAction* ArrangeInGrid = nullptr;
        QAction* Disarrange = nullptr;
        QAction* PieceSize = nullptr;
        QAction* Restart = nullptr;
        QAction* Picture = nullptr;
        QAction* GhostPicture = nullptr;
        QAction* Sound = nullptr;
        QAction* Music = nullptr;
        QAction* Outlines = nullptr;
        QAction* OutlineItems[4] = {};
        QAction* Shadows = nullptr;
        QAction* SortByShape = nullptr;
        QAction* SortByColor = nullptr;
        QAction* ShowTimer = nullptr;
        QAction* ShowNum = nullptr;
        QAction* Rotation = nullptr;
        QAction* BackgroundColor = nullptr;
        QAction* RightMouseButton = nullptr;
        QAction* AllowCheating = nullptr;
        QAction* Hint = nullptr;
        QAction* RightWayUp = nullptr;
        QAction* Solve = nullptr;
        QAction* HelpQuick = nullptr;
        QAction* HelpOrder = nullptr;
        QAction* HelpAboutJig = nullptr;
        QAction* HelpAbout = nullptr;
    };
    /// The board popups, opened by the board code.
    struct Popups {
        QMenu* Play = nullptr;
        QMenu* Piece = nullptr;
        QMenu* Tray = nullptr;
        QAction* PlayHint = nullptr;
        QAction* PlaySolve = nullptr;
        QAction* RotateRight = nullptr;
        QAction* RotateLeft = nullptr;
        QAction* PieceRightWayUp = nullptr;
    };
    const Actions& actions() const { return m_actions; }
    const Popups& popups() const { return m_popups; }
    QToolButton* speedButton(const char* name) const;

private:
    Actions m_actions;
    Popups m_popups;
    QActionGroup* m_outlineGroup = nullptr;
};

} // namespace zg

#pragma once

#include "gfx/Rect.h"

#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>

class QWidget;

namespace zg {
class TJigsaw;
class TMainForm;
class TFormPiece;
} // namespace zg

namespace zg::test {

/// Makes gifts of the demo picture with the gift-maker program into a private folder.
class GiftFactory {
public:
    /// False (the test should skip) when the gift-maker or the assets are unknown.
    static bool available();
    /// Makes a gift with `options` added to the command line; returns its path,
    /// or an empty string (after reporting a test failure) when gift-maker failed.
    QString make(const QString& name, const QStringList& options);

private:
    QTemporaryDir m_dir;
};

/// Answers the modal windows that come up while it lives: the splash window
/// is played (its "Resume game..." box set to `resume`, its "Save game..." box
/// to `saveOnExit`), message boxes are accepted, the congratulations dialog and
/// the full-screen picture are closed. It counts what it saw.
class DialogWatcher {
public:
    DialogWatcher();

    bool resume = true;
    bool saveOnExit = false;
    int resumeBoxes = 0;
    int saveBoxes = 0;
    int splashes = 0;
    int congratulations = 0;
    int zoomPictures = 0;
    QStringList messages;
    QStringList congratulationTexts; ///< the status text of every congratulations dialog
    /// The button question boxes are answered with; NoButton: accept them.
    QMessageBox::StandardButton answer = QMessageBox::NoButton;

private:
    void poll();
    QTimer m_timer;
    bool m_answering = false;
};

/// Drives the board of a main window with mouse events that take the whole
/// way through the toolkit (window system event, then the widget), in board
/// pixels.
class BoardDriver {
public:
    explicit BoardDriver(TMainForm& form);

    void press(Point at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {});
    void move(Point to);
    void release(Point at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {});
    /// A left-button drag from `from` to `to` in a few even steps.
    void drag(Point from, Point to, Qt::KeyboardModifiers keys = {});

    /// A board point on piece `p` where a press picks `p`: on its shape and
    /// not under any piece painted above it; none when it is wholly covered.
    std::optional<Point> visiblePoint(const TFormPiece& p) const;

private:
    QPoint toWindow(Point at) const;
    TMainForm& m_form;
};

/// Starts `form` and waits until the first tick has built the puzzle and the
/// start-up splash has been answered.
bool startAndWaitForBoard(TMainForm& form, int timeoutMs = 30000);

} // namespace zg::test

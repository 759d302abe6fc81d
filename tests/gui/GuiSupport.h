#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QMenuBar;

namespace zg {
class TMainForm;
class TSplashForm;
} // namespace zg

namespace zg::test {

/// Makes gifts with the gift-maker program into a private folder.
class GiftMaker {
public:
    /// False (and the test should skip) when the gift-maker or the assets are unknown.
    static bool available();
    /// The folder of the demo picture and music.
    static QString assets();

    /// Makes a gift of the demo picture with `options` added to the command
    /// line; returns its path or an empty string when gift-maker failed.
    QString make(const QString& name, const QStringList& options = {});
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

/// A test suite sharing one gift of the demo picture, made once per suite;
/// its tests skip when gift-maker is not available.
class DemoGiftSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (GiftMaker::available()) {
            s_maker = new GiftMaker;
            s_gift = s_maker->make(QStringLiteral("suite-gift"));
        }
    }
    static void TearDownTestSuite() {
        delete s_maker;
        s_maker = nullptr;
        s_gift.clear();
    }
    void SetUp() override {
        if (s_gift.isEmpty()) {
            GTEST_SKIP() << "gift-maker is not available";
        }
    }

    static inline GiftMaker* s_maker = nullptr;
    static inline QString s_gift;
};

/// Overwrites bytes of a file at `offset`; returns whether it worked.
bool patchFile(const QString& path, qint64 offset, const QByteArray& bytes);

/// Answers every modal window that comes up while it lives: message boxes are
/// recorded and answered with `answer`; splash windows are recorded, handed
/// to `onSplash`, have the exit splash's "Save game..." box unticked unless
/// `saveOnExit`, and are closed with Play/Close; with `onWindow` set, any other
/// modal window is recorded, handed to it and then closed.
class ModalWatcher {
public:
    ModalWatcher();
    ~ModalWatcher();

    QStringList messages; ///< texts of the message boxes seen
    int splashCount = 0;  ///< splash windows seen modal
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    bool saveOnExit = false;
    QColor colourToPick;   ///< what colour dialogs choose (invalid: cancel)
    int colourDialogs = 0; ///< colour dialogs seen
    std::function<void(TSplashForm&)> onSplash;
    QStringList windows; ///< object names of the other modal windows seen, while onWindow is set
    /// When set, handed every other modal window, which the watcher then
    /// closes if it is still open; unset, other windows are left alone.
    std::function<void(QWidget&)> onWindow;

private:
    void poll();
    QTimer m_timer;
    bool m_answering = false;
};

/// Waits until `form` has built its first puzzle (the start-up splash was
/// answered by `watcher`).
bool waitForFirstBuild(TMainForm& form, int timeoutMs = 20000);

/// The top-level menu of `bar` with `caption`, or nullptr.
QMenu* topMenu(QMenuBar* bar, const QString& caption);
/// The item of `menu` with `caption`, or nullptr.
QAction* menuItem(QMenu* menu, const QString& caption);

} // namespace zg::test

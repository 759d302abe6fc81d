// The main window's completion windows: the congratulations dialog and the
// full-screen picture, opened on completion and by the Zoom picture command.

#include "GuiSupport.h"

#include "app/TMainForm.h"
#include "game/TJigsaw.h"
#include "gfx/PictureFit.h"
#include "ui/TCongratsDlg.h"
#include "ui/TZoomForm.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zg::test {
namespace {

/// What the modal windows that came up looked like, in order.
struct SeenWindows {
    QStringList order;
    QString status;
    bool congratsHasPicture = false;
    QRect zoomGeometry;
    QRect zoomPicture;
    QRect expectedZoomPicture;
};

/// Answers the congratulations dialog with OK and the full-screen picture with
/// a key press, recording both.
class CompletionWatcher {
public:
    explicit CompletionWatcher(const Bitmap24& picture) : m_picture(picture) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(20);
    }
    SeenWindows seen;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* congrats = qobject_cast<TCongratsDlg*>(modal)) {
            seen.order << QStringLiteral("congrats");
            seen.status = congrats->statusText();
            seen.congratsHasPicture = !congrats->picture().isNull();
            congrats->okButton()->click();
        } else if (auto* zoom = qobject_cast<TZoomForm*>(modal)) {
            seen.order << QStringLiteral("zoom");
            seen.zoomGeometry = zoom->geometry();
            seen.zoomPicture = zoom->pictureRect();
            const Rect r = placePicture(m_picture.width(), m_picture.height(), zoom->width(), zoom->height(),
                                        TZoomForm::kMarginPercent);
            seen.expectedZoomPicture = QRect(r.Left, r.Top, r.width(), r.height());
            QTest::keyPress(zoom, Qt::Key_Space);
        }
    }
    const Bitmap24& m_picture;
    QTimer m_timer;
};

class MainFormPicture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GiftMaker::available()) {
            GTEST_SKIP() << "gift-maker is not available";
        }
        m_gift = m_maker.make(QStringLiteral("picture-gift"));
        ASSERT_FALSE(m_gift.isEmpty());
    }
    GiftMaker m_maker;
    QString m_gift;
};

TEST_F(MainFormPicture, CompletionShowsTheCongratulationsAndThenThePictureFullScreen) {
    ModalWatcher watcher;
    TMainForm form(m_gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    form.timer().stop();
    TJigsaw& jigsaw = form.jigsaw();
    // Every piece in one group, as the last join leaves them.
    for (TFormPiece* piece : jigsaw.Pieces) {
        piece->GroupId = jigsaw.Pieces.front()->GroupId;
        piece->Joined = true;
    }
    jigsaw.State.SolvedCount = uint16_t(jigsaw.pieceCount());
    jigsaw.State.ElapsedSeconds = 125;
    jigsaw.State.CheatCount = 3;
    jigsaw.CompletionCandidate = true;

    CompletionWatcher windows(jigsaw.originalPicture());
    jigsaw.CheckCompletion();

    const SeenWindows& seen = windows.seen;
    EXPECT_EQ(seen.order, QStringList({QStringLiteral("congrats"), QStringLiteral("zoom")}));
    EXPECT_EQ(seen.status,
              QStringLiteral("You solved all %1 pieces in 2 minutes and 5 seconds by cheating 3 times!")
                  .arg(jigsaw.pieceCount()));
    EXPECT_TRUE(seen.congratsHasPicture);
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(seen.zoomGeometry, screen->geometry());
    EXPECT_FALSE(seen.zoomPicture.isEmpty());
    EXPECT_EQ(seen.zoomPicture, seen.expectedZoomPicture);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    form.close();
}

TEST_F(MainFormPicture, ZoomPictureCommandShowsThePictureUntilAKey) {
    ModalWatcher watcher;
    TMainForm form(m_gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    form.timer().stop();
    ASSERT_TRUE(form.actions().ZoomPicture->isEnabled());

    CompletionWatcher windows(form.jigsaw().originalPicture());
    form.actions().ZoomPicture->trigger();
    EXPECT_EQ(windows.seen.order, QStringList({QStringLiteral("zoom")}));
    EXPECT_EQ(windows.seen.zoomPicture, windows.seen.expectedZoomPicture);
    form.close();
}

} // namespace
} // namespace zg::test

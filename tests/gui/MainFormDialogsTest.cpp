// The main window's dialogs as the user meets them: the picture window, the
// mouse action and About this Jigsaw.

#include "GuiSupport.h"

#include "app/TMainForm.h"
#include "files/InfoTexts.h"
#include "game/TJigsaw.h"
#include "gfx/PictureFit.h"
#include "ui/TAboutJigDlg.h"
#include "ui/TMouseDlg.h"
#include "ui/TOrderForm.h"
#include "ui/TOverlayForm.h"
#include "ui/TSplashForm.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zg::test {
namespace {

class MainFormDialogs : public DemoGiftSuite {
protected:
    void open() {
        m_form = std::make_unique<TMainForm>(s_gift.toStdString());
        m_form->show();
        ASSERT_TRUE(waitForFirstBuild(*m_form));
        m_form->timer().stop();
    }
    void TearDown() override {
        if (m_form) {
            m_form->close();
        }
    }
    ModalWatcher watcher;
    std::unique_ptr<TMainForm> m_form;
};

TEST_F(MainFormDialogs, PictureWindowFollowsTheOptionKeepsProportionsAndOutlivesARestart) {
    open();
    TOverlayForm* overlay = m_form->overlayForm();
    QAction* picture = m_form->actions().Picture;
    EXPECT_FALSE(overlay->isVisible());
    picture->trigger();
    EXPECT_TRUE(picture->isChecked());
    ASSERT_TRUE(overlay->isVisible());
    EXPECT_TRUE(overlay->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // A tall narrow window snaps back to the picture's proportions at its width.
    const Bitmap24& shown = m_form->jigsaw().Picture;
    overlay->resize(120, 400);
    const Point fit = fitPicture(shown.width(), shown.height(), 120, 400);
    EXPECT_TRUE(QTest::qWaitFor([&] { return overlay->size() == QSize(fit.X, fit.Y); }, 2000))
        << overlay->width() << " x " << overlay->height();

    // A restart frees the picture the window showed; it shows the new one.
    m_form->actions().Restart->trigger();
    ASSERT_TRUE(m_form->jigsaw().IsPlaying());
    EXPECT_TRUE(overlay->isVisible());
    const QImage drawn = overlay->grab().toImage();
    EXPECT_FALSE(drawn.isNull());
    EXPECT_NE(drawn.pixelColor(drawn.width() / 2, drawn.height() / 2),
              overlay->palette().color(QPalette::Window));

    // Closing the window unchecks the option; the option shows it again.
    overlay->close();
    EXPECT_FALSE(picture->isChecked());
    picture->trigger();
    EXPECT_TRUE(overlay->isVisible());
}

TEST_F(MainFormDialogs, RightMouseButtonStoresTheChoiceAndRemindsAboutRotation) {
    open();
    int chosen = 1;
    watcher.onWindow = [&](QWidget& window) {
        if (auto* dialog = qobject_cast<TMouseDlg*>(&window)) {
            dialog->item(chosen)->click();
            dialog->okButton()->click();
        }
    };
    m_form->actions().Rotation->setChecked(false);
    m_form->actions().RightMouseButton->trigger();
    EXPECT_EQ(watcher.windows, QStringList{QStringLiteral("MouseDlg")});
    EXPECT_EQ(m_form->jigsaw().MouseAction, MouseAction::Alternative);
    EXPECT_EQ(watcher.messages, QStringList{QString::fromLatin1(kAlternativeMouseReminder)});

    // With rotation on there is nothing to remind of.
    m_form->actions().Rotation->setChecked(true);
    m_form->actions().RightMouseButton->trigger();
    EXPECT_EQ(watcher.messages.size(), 1);

    // The choice belongs to the window: a restart keeps it.
    m_form->actions().Restart->trigger();
    EXPECT_EQ(m_form->jigsaw().MouseAction, MouseAction::Alternative);

    chosen = 0;
    m_form->actions().RightMouseButton->trigger();
    EXPECT_EQ(m_form->jigsaw().MouseAction, MouseAction::Default);
}

TEST_F(MainFormDialogs, AboutThisJigsawShowsThePuzzlesTexts) {
    open();
    TJigsaw& jig = m_form->jigsaw();
    jig.State.CheatCount = 1;
    QStringList texts;
    watcher.onWindow = [&](QWidget& window) {
        if (auto* about = qobject_cast<TAboutJigDlg*>(&window)) {
            texts << about->titleName()->text() << about->puzzleStats()->text()
                  << about->creationStats()->text() << about->jigStatus()->text();
        }
    };
    ASSERT_TRUE(m_form->actions().HelpAboutJig->isVisible());
    m_form->actions().HelpAboutJig->trigger();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0], QString::fromStdString(jig.State.Title));
    EXPECT_EQ(texts[1], QStringLiteral("%1 pieces %2x%3, (%4x%5)")
                            .arg(jig.State.PieceCount)
                            .arg(jig.State.Cols)
                            .arg(jig.State.Rows)
                            .arg(jig.State.PictureWidth)
                            .arg(jig.State.PictureHeight));
    EXPECT_TRUE(texts[2].startsWith(QStringLiteral("Created ") +
                                    QString::fromStdString(shortDateText(jig.State.Created))));
    EXPECT_EQ(texts[3], QStringLiteral("You have solved %1 out of %2 pieces by cheating once!")
                            .arg(jig.State.SolvedCount)
                            .arg(jig.State.PieceCount));
}

TEST_F(MainFormDialogs, OrderFormOpensFromTheSplashAndHelpAndPrintsTheOrder) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("order.pdf"));
    QString giftTitle;
    QString note;
    watcher.onWindow = [&](QWidget& window) {
        if (auto* order = qobject_cast<TOrderForm*>(&window)) {
            giftTitle = order->giftTitleEdit()->text();
            note = order->noteLabel()->text();
            order->nameEdit()->setText(QStringLiteral("Ada Example"));
            order->townEdit()->setText(QStringLiteral("Springfield"));
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            order->printTo(printer);
        }
    };
    m_form = std::make_unique<TMainForm>(s_gift.toStdString());
    // The start-up splash offers the order form before anything is built.
    ASSERT_NE(m_form->splash(), nullptr);
    ASSERT_TRUE(m_form->splash()->orderButton()->isEnabled());
    m_form->splash()->orderButton()->click();
    EXPECT_EQ(watcher.windows, QStringList{QStringLiteral("OrderForm")});
    EXPECT_TRUE(note.startsWith(QStringLiteral("Nothing is sent anywhere")));
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.read(5) == "%PDF-");
    EXPECT_GT(printed.size(), 1000);
    EXPECT_TRUE(m_form->orderForm()->orderDocument().contains(QStringLiteral("Ada Example")));

    // The Help menu opens it too, with the gift's title filled in.
    m_form->show();
    ASSERT_TRUE(waitForFirstBuild(*m_form));
    m_form->orderForm()->giftTitleEdit()->clear();
    m_form->actions().HelpOrder->trigger();
    EXPECT_EQ(watcher.windows.size(), 2);
    EXPECT_EQ(giftTitle, QString::fromStdString(m_form->jigsaw().State.Title));
}

TEST(AboutJigDates, DamagedCreationDatesShowNoDate) {
    EXPECT_FALSE(shortDateText(45000.0).empty()); // a day in 2023
    EXPECT_EQ(shortDateText(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(shortDateText(std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(shortDateText(1e300), "");
    EXPECT_EQ(shortDateText(-1e300), "");
}

} // namespace
} // namespace zg::test

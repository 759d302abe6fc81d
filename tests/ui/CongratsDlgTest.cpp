#include "ui/TCongratsDlg.h"

#include "files/InfoTexts.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zg {
namespace {

int countPixels(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

TEST(CongratsDialog, ShowsCaptionHeadingAndCompletionText) {
    TGameState state{};
    state.PieceCount = 42;
    state.ElapsedSeconds = 125;
    TCongratsDlg dialog;
    dialog.setStatusText(QString::fromStdString(completionText(state)));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("You solved it!"));
    EXPECT_EQ(dialog.heading()->text(), QStringLiteral("Congratulations!"));
    const auto* status = dialog.findChild<QLabel*>(QStringLiteral("JigStatus"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(),
              QStringLiteral("You solved all 42 pieces in 2 minutes and 5 seconds without cheating!"));
    EXPECT_EQ(dialog.statusText(), status->text());
    EXPECT_TRUE(status->wordWrap());
    EXPECT_EQ(dialog.okButton()->text(), QStringLiteral("OK"));
}

TEST(CongratsDialog, LongStatusWrapsInsideTheDialog) {
    TCongratsDlg dialog;
    dialog.setStatusText(
        QStringLiteral("You solved all 1000 pieces in 12345 minutes and 59 seconds by cheating 87 times!"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const auto* status = dialog.findChild<QLabel*>(QStringLiteral("JigStatus"));
    ASSERT_NE(status, nullptr);
    EXPECT_GT(status->height(), status->fontMetrics().height()) << "the text should take more than one line";
    EXPECT_TRUE(dialog.rect().contains(status->geometry()));
}

TEST(CongratsDialog, HeadingIsBlueOverAWhiteShadow) {
    TCongratsDlg dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(dialog.heading()->font().bold());
    const QImage shot = dialog.heading()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(countPixels(shot, QColor(Qt::blue)), 50);
    EXPECT_GT(countPixels(shot, QColor(Qt::white)), 20);
}

TEST(CongratsDialog, StatusTextTakesTheDesktopTextColour) {
    // A dark desktop scheme: black text would be unreadable on it.
    const QPalette saved = QApplication::palette();
    QPalette dark = saved;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 120));
    QApplication::setPalette(dark);
    {
        TCongratsDlg dialog;
        dialog.setStatusText(
            QStringLiteral("You solved all 4 pieces in 0 minutes and 9 seconds without cheating!"));
        const auto* status = dialog.findChild<QLabel*>(QStringLiteral("JigStatus"));
        ASSERT_NE(status, nullptr);
        EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(230, 230, 120));
    }
    QApplication::setPalette(saved);
}

TEST(CongratsDialog, PictureIsReducedToTheBoxKeepingItsProportions) {
    TCongratsDlg dialog;
    const QPixmap glyph = dialog.picture();
    EXPECT_FALSE(glyph.isNull()) << "without a picture the box shows the glyph";

    QImage wide(400, 300, QImage::Format_RGB32);
    wide.fill(QColor(10, 120, 200));
    dialog.setPicture(wide);
    EXPECT_EQ(dialog.picture().size(), QSize(128, 96));
    EXPECT_EQ(dialog.picture().toImage().pixelColor(64, 48), QColor(10, 120, 200));

    QImage square(300, 300, QImage::Format_RGB32);
    square.fill(Qt::red);
    dialog.setPicture(square);
    EXPECT_EQ(dialog.picture().size(), QSize(96, 96));

    dialog.setPicture(QImage());
    EXPECT_EQ(dialog.picture().size(), QSize(96, 96)) << "an empty picture changes nothing";
}

TEST(CongratsDialog, OkClosesTheModalDialog) {
    TCongratsDlg dialog;
    QTimer::singleShot(50, &dialog, [&] { QTest::mouseClick(dialog.okButton(), Qt::LeftButton); });
    QTimer::singleShot(5000, &dialog, [&] { dialog.done(-1); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace zg

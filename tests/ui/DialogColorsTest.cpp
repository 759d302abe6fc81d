// The colour fix-up dialogs apply when shown: black texts take the desktop's
// text colours, so they stay readable on a dark colour scheme.

#include "ui/DialogColors.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace zg {
namespace {

void makeBlack(QWidget& w) {
    QPalette p = w.palette();
    p.setColor(w.foregroundRole(), Qt::black);
    w.setPalette(p);
}

TEST(DialogColors, BlackTextsTakeTheDesktopsTextColours) {
    const QPalette saved = QApplication::palette();
    QPalette dark = saved;
    dark.setColor(QPalette::Text, QColor(230, 230, 200));       // window text
    dark.setColor(QPalette::ButtonText, QColor(200, 220, 255)); // button text
    dark.setColor(QPalette::WindowText, QColor(250, 250, 250));
    QApplication::setPalette(dark);
    {
        QDialog dialog;
        auto* label = new QLabel(QStringLiteral("Title:"), &dialog);
        auto* navy = new QLabel(QStringLiteral("navy"), &dialog);
        auto* group = new QGroupBox(QStringLiteral("Information"), &dialog);
        auto* button = new QPushButton(QStringLiteral("OK"), &dialog);
        auto* memo = new QTextEdit(&dialog);
        for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(group),
                           static_cast<QWidget*>(button), static_cast<QWidget*>(memo)}) {
            makeBlack(*w);
        }
        QPalette p = navy->palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 128));
        navy->setPalette(p);

        fixDialogColors(dialog);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(230, 230, 200));
        EXPECT_EQ(group->palette().color(QPalette::WindowText), QColor(230, 230, 200));
        EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(200, 220, 255));
        EXPECT_EQ(navy->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        EXPECT_EQ(memo->palette().color(memo->foregroundRole()), QColor(Qt::black));
    }
    QApplication::setPalette(saved);
}

} // namespace
} // namespace zg

#include "app/DisplayCheck.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStringList>

namespace zg {

namespace {

// Display settings tools of the common desktops, tried in turn.
void openDisplaySettings() {
    const QList<QStringList> commands = {
        {QStringLiteral("gnome-control-center"), QStringLiteral("display")},
        {QStringLiteral("systemsettings"), QStringLiteral("kcm_kscreen")},
        {QStringLiteral("xfce4-display-settings")},
    };
    for (const QStringList& command : commands) {
        if (QProcess::startDetached(command.front(), command.mid(1))) {
            return;
        }
    }
}

} // namespace

bool displayDepthSuffices(int depth) {
    return depth >= kMinimumDisplayDepth;
}

QString lowColourWarning(int depth) {
    const qint64 colours = depth >= 0 && depth < 63 ? qint64(1) << depth : 0;
    return QStringLiteral(
               "This program needs HiColor mode (64K colors) or better and so is unable to continue while "
               "your Windows desktop is set to %1 colors. Would you like to change your settings now?")
        .arg(colours);
}

bool checkDisplay() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int depth = screen ? screen->depth() : 0;
    if (displayDepthSuffices(depth)) {
        return true;
    }
    const auto answer = QMessageBox::warning(nullptr, QStringLiteral("Zanthoria Gift"),
                                             lowColourWarning(depth), QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Ok) {
        openDisplaySettings();
    }
    return false;
}

} // namespace zg

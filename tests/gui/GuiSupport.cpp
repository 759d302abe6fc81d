#include "GuiSupport.h"

#include "app/TMainForm.h"
#include "ui/TSplashForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace zg::test {

bool GiftMaker::available() {
    return std::getenv("ZG_GIFT_MAKER") != nullptr && std::getenv("ZG_ASSETS") != nullptr;
}

QString GiftMaker::assets() {
    return QString::fromLocal8Bit(std::getenv("ZG_ASSETS"));
}

QString GiftMaker::make(const QString& name, const QStringList& options) {
    const QString output = m_dir.filePath(name);
    QStringList arguments{assets() + QStringLiteral("/demo/picture.jpg"), QStringLiteral("-o"), output};
    if (const char* player = std::getenv("ZG_PLAYER")) {
        arguments << QStringLiteral("--player") << QString::fromLocal8Bit(player);
    }
    arguments << options;
    QProcess maker;
    maker.start(QString::fromLocal8Bit(std::getenv("ZG_GIFT_MAKER")), arguments);
    if (!maker.waitForFinished(60000) || maker.exitStatus() != QProcess::NormalExit ||
        maker.exitCode() != 0) {
        ADD_FAILURE() << "gift-maker failed: " << maker.readAllStandardError().toStdString();
        return {};
    }
    return output;
}

bool patchFile(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(offset)) {
        return false;
    }
    return file.write(bytes) == bytes.size();
}

ModalWatcher::ModalWatcher() {
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

ModalWatcher::~ModalWatcher() = default;

void ModalWatcher::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (m_answering || modal == nullptr || !modal->isVisible()) {
        return;
    }
    // A handler may wait with the event loop running; it answers once.
    m_answering = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_answering};
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages << box->text();
        if (QAbstractButton* button = box->button(answer)) {
            button->click();
        } else {
            box->accept();
        }
        return;
    }
    if (auto* colours = qobject_cast<QColorDialog*>(modal)) {
        ++colourDialogs;
        if (colourToPick.isValid()) {
            colours->setCurrentColor(colourToPick);
            colours->accept();
        } else {
            colours->reject();
        }
        return;
    }
    if (auto* splash = qobject_cast<TSplashForm*>(modal)) {
        ++splashCount;
        if (onSplash) {
            onSplash(*splash);
        }
        // Tests leave no saved game behind unless they ask for one.
        if (!saveOnExit && splash->isBoxShown() &&
            splash->saveResumeBox()->text() == QStringLiteral("Save game...")) {
            splash->saveResumeBox()->setChecked(false);
        }
        if (splash->isVisible()) {
            splash->okButton()->click();
        }
        return;
    }
    if (onWindow) {
        windows << modal->objectName();
        onWindow(*modal);
        if (modal->isVisible()) {
            modal->close();
        }
    }
}

bool waitForFirstBuild(TMainForm& form, int timeoutMs) {
    return QTest::qWaitFor([&] { return form.isBoardLive() && QApplication::activeModalWidget() == nullptr; },
                           timeoutMs);
}

QMenu* topMenu(QMenuBar* bar, const QString& caption) {
    for (QAction* action : bar->actions()) {
        if (action->text() == caption) {
            return action->menu();
        }
    }
    return nullptr;
}

QAction* menuItem(QMenu* menu, const QString& caption) {
    if (menu == nullptr) {
        return nullptr;
    }
    for (QAction* action : menu->actions()) {
        if (action->text() == caption) {
            return action;
        }
    }
    return nullptr;
}

} // namespace zg::test

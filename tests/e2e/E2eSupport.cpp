#include "E2eSupport.h"

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"
#include "ui/TCongratsDlg.h"
#include "ui/TSplashForm.h"
#include "ui/TZoomForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>

namespace zg::test {

bool GiftFactory::available() {
    return std::getenv("ZG_GIFT_MAKER") != nullptr && std::getenv("ZG_ASSETS") != nullptr &&
           std::getenv("ZG_PLAYER") != nullptr;
}

QString GiftFactory::make(const QString& name, const QStringList& options) {
    const QString output = m_dir.filePath(name);
    QStringList arguments{QString::fromLocal8Bit(std::getenv("ZG_ASSETS")) +
                              QStringLiteral("/demo/picture.jpg"),
                          QStringLiteral("-o"), output, QStringLiteral("--player"),
                          QString::fromLocal8Bit(std::getenv("ZG_PLAYER"))};
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

DialogWatcher::DialogWatcher() {
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

void DialogWatcher::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (m_answering || modal == nullptr || !modal->isVisible()) {
        return;
    }
    // Answering may run a nested event loop; it answers once.
    m_answering = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_answering};
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages << box->text();
        if (QAbstractButton* button = answer != QMessageBox::NoButton ? box->button(answer) : nullptr) {
            button->click();
        } else {
            box->accept();
        }
    } else if (auto* splash = qobject_cast<TSplashForm*>(modal)) {
        ++splashes;
        if (splash->isBoxShown()) {
            const bool saving = splash->saveResumeBox()->text() == QStringLiteral("Save game...");
            splash->saveResumeBox()->setChecked(saving ? saveOnExit : resume);
            (saving ? saveBoxes : resumeBoxes) += 1;
        }
        splash->okButton()->click();
    } else if (auto* congrats = qobject_cast<TCongratsDlg*>(modal)) {
        ++congratulations;
        congratulationTexts << congrats->statusText();
        congrats->accept();
    } else if (auto* zoom = qobject_cast<TZoomForm*>(modal)) {
        ++zoomPictures;
        zoom->accept();
    }
}

BoardDriver::BoardDriver(TMainForm& form) : m_form(form) {}

QPoint BoardDriver::toWindow(Point at) const {
    QWidget* board = m_form.board();
    return board->mapTo(board->window(), QPoint(at.X, at.Y));
}

void BoardDriver::press(Point at, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
    QTest::mousePress(m_form.windowHandle(), button, keys, toWindow(at));
}

void BoardDriver::move(Point to) {
    QTest::mouseMove(m_form.windowHandle(), toWindow(to));
}

void BoardDriver::release(Point at, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
    QTest::mouseRelease(m_form.windowHandle(), button, keys, toWindow(at));
}

void BoardDriver::drag(Point from, Point to, Qt::KeyboardModifiers keys) {
    constexpr int kSteps = 4;
    press(from, Qt::LeftButton, keys);
    for (int i = 1; i <= kSteps; ++i) {
        move({from.X + (to.X - from.X) * i / kSteps, from.Y + (to.Y - from.Y) * i / kSteps});
    }
    release(to, Qt::LeftButton, keys);
}

std::optional<Point> BoardDriver::visiblePoint(const TFormPiece& p) const {
    TJigsaw& jig = m_form.jigsaw();
    TBox& tray = jig.TrayByNumber(p.TrayIndex);
    const QSize board = m_form.board()->size();
    const Point centre{p.Left + p.Width / 2, p.Top + p.Height / 2};
    // Rings around the centre, nearest first, every 2 pixels.
    const int32_t reach = std::max<int32_t>(p.Width, p.Height);
    for (int32_t r = 0; r <= reach; r += 2) {
        for (int32_t dy = -r; dy <= r; dy += 2) {
            for (int32_t dx = -r; dx <= r; dx += 2) {
                if (std::max(std::abs(dx), std::abs(dy)) != r) {
                    continue;
                }
                const Point at{centre.X + dx, centre.Y + dy};
                if (at.X < 0 || at.Y < 0 || at.X >= board.width() || at.Y >= board.height()) {
                    continue;
                }
                if (tray.PieceAtPoint(at.X, at.Y, true, jig.MaskAtlas) == &p) {
                    return at;
                }
            }
        }
    }
    return std::nullopt;
}

bool startAndWaitForBoard(TMainForm& form, int timeoutMs) {
    form.show();
    return QTest::qWaitFor([&] { return form.isBoardLive() && QApplication::activeModalWidget() == nullptr; },
                           timeoutMs);
}

} // namespace zg::test

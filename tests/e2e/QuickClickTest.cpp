// A quick second click on the board, as the window system delivers it: the
// second press arrives as a double-click and must pick the piece all the same.

#include "E2eSupport.h"

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QTest>

#include <gtest/gtest.h>

namespace zg::test {
namespace {

/// Sends mouse events to the main window through the window system with
/// timestamps of its own, so that two presses can fall within the
/// double-click interval (the toolkit's test helpers keep them apart).
class TimedMouse {
public:
    explicit TimedMouse(TMainForm& form) : m_form(form), m_time(QTest::lastMouseTimestamp + 10000) {}
    ~TimedMouse() { QTest::lastMouseTimestamp = m_time + QTest::mouseDoubleClickInterval; }
    TimedMouse(const TimedMouse&) = delete;
    TimedMouse& operator=(const TimedMouse&) = delete;

    void press(Point at) { send(at, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress); }
    void move(Point to) { send(to, Qt::LeftButton, Qt::NoButton, QEvent::MouseMove); }
    void release(Point at) { send(at, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease); }

private:
    void send(Point at, Qt::MouseButtons held, Qt::MouseButton button, QEvent::Type type) {
        m_time += 20;
        const QPoint local = m_form.board()->mapTo(&m_form, QPoint(at.X, at.Y));
        qt_handleMouseEvent(m_form.windowHandle(), local, m_form.mapToGlobal(local), held, button, type,
                            Qt::NoModifier, m_time);
        QCoreApplication::processEvents();
    }

    TMainForm& m_form;
    int m_time;
};

TEST(QuickClick, PressReleasePressReleaseWithinTheDoubleClickIntervalMovesThePieceTwice) {
    if (!GiftFactory::available()) {
        GTEST_SKIP() << "gift-maker is not available";
    }
    GiftFactory factory;
    const QString gift =
        factory.make(QStringLiteral("quick-click"), {QStringLiteral("--pieces"), QStringLiteral("12"),
                                                     QStringLiteral("--seed"), QStringLiteral("5")});
    ASSERT_FALSE(gift.isEmpty());
    DialogWatcher watcher;
    TMainForm form(gift.toStdString());
    form.resize(1000, 800);
    ASSERT_TRUE(startAndWaitForBoard(form));
    BoardDriver driver(form);
    TJigsaw& jig = form.jigsaw();

    // The piece nearest the board's middle, where both moves stay on the board.
    const Point middle{form.board()->width() / 2, form.board()->height() / 2};
    TFormPiece* piece = nullptr;
    for (TFormPiece* p : jig.Pieces) {
        const auto distance = [&](const TFormPiece* q) {
            return std::abs(q->Left + q->Width / 2 - middle.X) + std::abs(q->Top + q->Height / 2 - middle.Y);
        };
        if (driver.visiblePoint(*p) && (piece == nullptr || distance(p) < distance(piece))) {
            piece = p;
        }
    }
    ASSERT_NE(piece, nullptr);
    const Point grab = *driver.visiblePoint(*piece);
    const Point start{piece->Left, piece->Top};
    // Within the double-click distance, so the second press counts as a double-click.
    const int nudge = std::max(1, QGuiApplication::styleHints()->mouseDoubleClickDistance() / 2);
    const Point nudged{grab.X + nudge, grab.Y};
    const Point far{nudged.X + 40, nudged.Y + 30};

    {
        TimedMouse mouse(form);
        mouse.press(grab);
        mouse.move(nudged);
        mouse.release(nudged);
        EXPECT_EQ(piece->Left, start.X + nudge);
        mouse.press(nudged);
        EXPECT_EQ(jig.MouseMode, TJigsaw::mmDragPiece) << "the quick second press was lost";
        mouse.move({nudged.X + 20, nudged.Y + 15});
        mouse.move(far);
        mouse.release(far);
    }
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_EQ(piece->Left, start.X + nudge + 40);
    EXPECT_EQ(piece->Top, start.Y + 30);
    form.close();
}

} // namespace
} // namespace zg::test

// Every command of the main window while a puzzle is played: the menus, the
// toolbar and the three board popups. Each enabled command must change
// something a person would see (a window opens, a piece moves or turns, a
// tick changes, the board is redrawn); one that is enabled and does nothing
// fails the walk. Disabled commands are skipped.

#include "GuiSupport.h"

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"
#include "ui/TOverlayForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace zg::test {
namespace {

/// The tray popup's tray commands, which may stay inert: no action is
/// attached to them yet; their hints say what they are meant to do.
const QStringList kMayStayInert = {QStringLiteral("Se&lect all pieces"),
                                   QStringLiteral("&Send Tray to Back"),
                                   QStringLiteral("D&rop all pieces"),
                                   QStringLiteral("G&et loose pieces"),
                                   QStringLiteral("&Tray Description..."),
                                   QStringLiteral("Custom..."),
                                   QStringLiteral("Matching"),
                                   QStringLiteral("Contrasting"),
                                   QStringLiteral("Default"),
                                   QStringLiteral("&Delete Tray!")};

/// What a person could see of the game at one moment.
struct Sight {
    QByteArray pieces;  ///< place, turn, group and tray of every piece
    QByteArray board;   ///< the board's pixels
    QList<bool> checks; ///< every tick in the menus and every toolbar button's state
    QList<bool> shown;  ///< window parts and secondary windows
    int windows = 0;    ///< modal windows and messages seen so far
    QColor boardColour;
    friend bool operator==(const Sight&, const Sight&) = default;
};

class CommandWalk : public DemoGiftSuite {
protected:
    void SetUp() override {
        DemoGiftSuite::SetUp();
        if (IsSkipped()) {
            return;
        }
        watcher.colourToPick = QColor(40, 120, 200);
        watcher.onWindow = [](QWidget&) {};
        // A small puzzle, so that auto-solve ends soon.
        const QString gift =
            s_maker->make(QStringLiteral("walk-gift"), {QStringLiteral("--pieces"), QStringLiteral("12")});
        ASSERT_FALSE(gift.isEmpty());
        form = std::make_unique<TMainForm>(gift.toStdString());
        form->resize(1000, 760);
        form->show();
        ASSERT_TRUE(waitForFirstBuild(*form));
        form->timer().stop();
    }
    void TearDown() override {
        if (form) {
            form->close();
        }
    }

    TJigsaw& jig() { return form->jigsaw(); }

    Sight look() {
        QCoreApplication::processEvents();
        Sight s;
        for (const TFormPiece* p : jig().Pieces) {
            for (const int32_t v : {p->Left, p->Top, int32_t(p->Rotation), p->GroupId, int32_t(p->Joined),
                                    int32_t(p->TrayIndex)}) {
                s.pieces.append(reinterpret_cast<const char*>(&v), sizeof v);
            }
        }
        const Bitmap24& b = jig().BackBuffer;
        s.board = QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.stride()) * b.height());
        for (QAction* a : form->findChildren<QAction*>()) {
            if (a->isCheckable()) {
                s.checks << a->isChecked();
            }
        }
        for (QToolButton* t : form->speedBar()->findChildren<QToolButton*>()) {
            s.checks << t->isChecked();
        }
        s.shown << form->isVisible() << form->speedBar()->isVisible() << form->statusPanel()->isVisible()
                << form->solvedStatus()->isVisible() << form->timerStatus()->isVisible()
                << form->overlayForm()->isVisible();
        s.windows = int(watcher.messages.size() + watcher.windows.size()) + watcher.splashCount +
                    watcher.colourDialogs;
        s.boardColour = form->board()->boardColor();
        return s;
    }

    /// Runs `command` and says whether anything visible changed; a board
    /// repainted more often than `baselinePaints` counts as a change.
    bool changes(const std::function<void()>& command, int baselinePaints = 0) {
        const Sight before = look();
        const int paints = form->board()->paintCount();
        command();
        const Sight after = look();
        return !(before == after) || form->board()->paintCount() - paints > baselinePaints;
    }

    /// Right-clicks the board at `at` and, when the popup shows `caption`
    /// enabled, chooses it; returns whether it was chosen (nullopt when the
    /// popup did not show the item at all).
    std::optional<bool> choose(Point at, const QString& caption) {
        std::optional<bool> chosen;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                return;
            }
            driver.stop();
            QAction* item = menuItem(menu, caption);
            if (item == nullptr || !item->isEnabled()) {
                chosen = item == nullptr ? std::nullopt : std::optional<bool>(false);
                menu->close();
                return;
            }
            chosen = true;
            menu->setActiveAction(item);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        driver.start(10);
        const QPoint p = form->board()->mapTo(form.get(), QPoint(at.X, at.Y));
        QTest::mousePress(form->windowHandle(), Qt::RightButton, {}, p);
        QTest::mouseRelease(form->windowHandle(), Qt::RightButton, {}, p);
        return chosen;
    }

    /// A board point on `p` that picks it.
    std::optional<Point> pointOn(const TFormPiece& p) {
        TBox& tray = jig().TrayByNumber(p.TrayIndex);
        for (int32_t y = p.Top; y < p.Top + p.Height; y += 2) {
            for (int32_t x = p.Left; x < p.Left + p.Width; x += 2) {
                if (x >= 0 && y >= 0 && x < form->board()->width() && y < form->board()->height() &&
                    tray.PieceAtPoint(x, y, true, jig().MaskAtlas) == &p) {
                    return Point{x, y};
                }
            }
        }
        return std::nullopt;
    }
    /// A point of `tray`'s inner area on no piece.
    std::optional<Point> emptyPoint(TBox& tray) {
        const Rect r = tray.ClientRect();
        for (int32_t y = r.Top + 4; y < r.Bottom && y < form->board()->height(); y += 7) {
            for (int32_t x = r.Left + 4; x < r.Right && x < form->board()->width(); x += 7) {
                if (&jig().TrayAt(x, y) == &tray &&
                    tray.PieceAtPoint(x, y, false, jig().MaskAtlas) == nullptr) {
                    return Point{x, y};
                }
            }
        }
        return std::nullopt;
    }

    ModalWatcher watcher;
    std::unique_ptr<TMainForm> form;
    QStringList inert;   ///< enabled commands that changed nothing
    QStringList skipped; ///< disabled commands
};

/// Every item under `menu`, submenus included, in menu order.
void collect(QMenu* menu, QList<QAction*>& out) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible()) {
            continue;
        }
        if (a->menu() != nullptr) {
            collect(a->menu(), out);
        } else {
            out << a;
        }
    }
}

TEST_F(CommandWalk, EveryEnabledCommandDoesSomethingVisible) {
    // Two pieces joined, so that Unlock has work.
    {
        TFormPiece& anchor = *jig().Pieces[0];
        TFormPiece& right = *jig().Pieces[1];
        right.Left = anchor.Left + right.HomeX - anchor.HomeX;
        right.Top = anchor.Top + right.HomeY - anchor.HomeY;
        Rect dirty;
        jig().SnapDropped({&right}, dirty);
        jig().MainArea().SortPieces();
        jig().RecordPositions(jig().MainArea());
        jig().SetBoardSize(form->board()->width(), form->board()->height());
        ASSERT_TRUE(right.Joined);
    }
    // Rotation on, so the turning commands have work.
    if (!form->actions().Rotation->isChecked()) {
        watcher.answer = QMessageBox::No;
        form->actions().Rotation->trigger();
        watcher.answer = QMessageBox::Yes;
    }
    // Commands that end the game or the window go last.
    const TMainForm::Actions& a = form->actions();
    const QList<QAction*> last = {a.Solve, a.Restart, a.FileExit};

    QList<QAction*> items;
    for (QAction* top : form->menuBar()->actions()) {
        collect(top->menu(), items);
    }
    const auto runItem = [&](QAction* item) {
        const QString name = item->text();
        if (!item->isEnabled()) {
            skipped << name;
            return;
        }
        if (!changes([&] { item->trigger(); })) {
            inert << name;
        }
        if (item->isCheckable() && item->actionGroup() == nullptr && item != a.Picture) {
            item->trigger(); // back as it was
        }
    };
    for (QAction* item : items) {
        if (!last.contains(item)) {
            runItem(item);
        }
    }

    // The toolbar.
    for (QToolButton* button : form->speedBar()->findChildren<QToolButton*>()) {
        if (!button->isVisible()) {
            continue;
        }
        if (!button->isEnabled()) {
            skipped << button->objectName();
            continue;
        }
        if (!changes([&] { button->click(); })) {
            inert << button->objectName();
        }
        if (button->isCheckable()) {
            button->click();
        }
    }
    form->overlayForm()->hide();

    // The board popup, on empty board.
    const std::optional<Point> board = emptyPoint(jig().MainArea());
    ASSERT_TRUE(board.has_value());
    const int boardBaseline = [&] {
        const int before = form->board()->paintCount();
        choose(*board, QStringLiteral("no such item"));
        EXPECT_EQ(jig().MouseMode, TJigsaw::mmIdle);
        QCoreApplication::processEvents();
        return form->board()->paintCount() - before;
    }();
    for (QAction* item : form->popups().Play->actions()) {
        // Auto-solve ends the game: it comes at the end, after a restart.
        if (item->isSeparator() || item == form->popups().PlaySolve) {
            continue;
        }
        // Arranging moves pieces: find a bare spot again each time.
        const std::optional<Point> bare = emptyPoint(jig().MainArea());
        ASSERT_TRUE(bare.has_value());
        std::optional<bool> chosen;
        const bool changed = changes([&] { chosen = choose(*bare, item->text()); }, boardBaseline);
        ASSERT_TRUE(chosen.has_value()) << "the board popup did not open";
        if (!*chosen) {
            skipped << QStringLiteral("PopupPlay ") + item->text();
        } else if (!changed) {
            inert << QStringLiteral("PopupPlay ") + item->text();
        }
    }

    // The piece popup, on a loose piece (and on a joined one for Unlock).
    for (QAction* item : form->popups().Piece->actions()) {
        if (item->isSeparator()) {
            continue;
        }
        // Unlock needs a joined piece, Right Way Up! a turned one.
        const auto suits = [&](const TFormPiece& p) {
            if (item->text() == QStringLiteral("&Unlock")) {
                return p.Joined;
            }
            if (item->text() == QStringLiteral("&Right Way Up!")) {
                return p.Rotation != 0;
            }
            return !p.Joined;
        };
        TFormPiece* target = nullptr;
        for (TFormPiece* p : jig().Pieces) {
            if (suits(*p) && pointOn(*p)) {
                target = p;
                break;
            }
        }
        if (target == nullptr) {
            skipped << QStringLiteral("PopupPiece ") + item->text() + QStringLiteral(" (no piece for it)");
            continue;
        }
        const Point at = *pointOn(*target);
        const int baseline = [&] {
            const int before = form->board()->paintCount();
            choose(at, QStringLiteral("no such item"));
            QCoreApplication::processEvents();
            return form->board()->paintCount() - before;
        }();
        std::optional<bool> chosen;
        if (!changes([&] { chosen = choose(at, item->text()); }, baseline) && chosen.value_or(false)) {
            inert << QStringLiteral("PopupPiece ") + item->text();
        }
        if (!chosen.value_or(false)) {
            skipped << QStringLiteral("PopupPiece ") + item->text();
        }
    }

    // The tray popup, in a user tray holding a few pieces (the game gets
    // trays from saved games).
    TBox& tray = jig().addTray(1);
    jig().TransferPieces({jig().Pieces[2], jig().Pieces[3]}, tray);
    jig().SetBoardSize(form->board()->width(), form->board()->height());
    ASSERT_TRUE(emptyPoint(tray).has_value());
    choose(*emptyPoint(tray), QStringLiteral("no such item"));
    QList<QAction*> trayItems;
    collect(form->popups().Tray, trayItems);
    for (QAction* item : trayItems) {
        const std::optional<Point> spot = emptyPoint(tray);
        ASSERT_TRUE(spot.has_value());
        std::optional<bool> chosen;
        const bool changed = changes([&] { chosen = choose(*spot, item->text()); });
        if (!chosen.value_or(false)) {
            skipped << QStringLiteral("PopupTray ") + item->text();
        } else if (!changed && !kMayStayInert.contains(item->text())) {
            inert << QStringLiteral("PopupTray ") + item->text();
        }
    }

    // Auto-solve from the menu, then a restart, auto-solve from the board
    // popup, and exit.
    runItem(a.Solve);
    runItem(a.Restart);
    ASSERT_FALSE(jig().State.Solved);
    const std::optional<Point> fresh = emptyPoint(jig().MainArea());
    ASSERT_TRUE(fresh.has_value());
    std::optional<bool> solveChosen;
    if (!changes([&] { solveChosen = choose(*fresh, form->popups().PlaySolve->text()); }, boardBaseline)) {
        inert << QStringLiteral("PopupPlay ") + form->popups().PlaySolve->text();
    }
    EXPECT_EQ(solveChosen, std::optional<bool>(true));
    EXPECT_EQ(jig().State.SolvedCount, jig().State.PieceCount);
    runItem(a.FileExit);
    EXPECT_FALSE(form->isVisible()) << "Exit closes the window";
    EXPECT_TRUE(inert.isEmpty()) << "enabled but inert: " << inert.join(QStringLiteral(", ")).toStdString();
    // What was skipped as disabled, for the record.
    RecordProperty("skipped", skipped.join(QStringLiteral(", ")).toStdString());
}

} // namespace
} // namespace zg::test

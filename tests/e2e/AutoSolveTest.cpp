// Arranging and the cheats on a real gift in the main window: auto-solve to
// the completion, restart while it runs, and an arranged board that is resized.

#include "E2eSupport.h"

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"
#include "ui/TSolveDlg.h"
#include "ui/TZoomForm.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace zg::test {
namespace {

class CheatsE2e : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!GiftFactory::available()) {
            return;
        }
        s_factory = new GiftFactory;
        s_gift =
            s_factory->make(QStringLiteral("cheats-gift"), {QStringLiteral("--pieces"), QStringLiteral("42"),
                                                            QStringLiteral("--seed"), QStringLiteral("7")});
    }
    static void TearDownTestSuite() {
        delete s_factory;
        s_factory = nullptr;
    }
    void SetUp() override {
        if (s_gift.isEmpty()) {
            GTEST_SKIP() << "gift-maker is not available";
        }
        m_form = std::make_unique<TMainForm>(s_gift.toStdString());
        m_form->resize(900, 700);
        ASSERT_TRUE(startAndWaitForBoard(*m_form));
    }
    void TearDown() override {
        if (m_form) {
            m_form->close();
        }
    }

    TJigsaw& jig() { return m_form->jigsaw(); }
    std::map<int32_t, Point> places() {
        std::map<int32_t, Point> out;
        for (const TFormPiece* p : jig().Pieces) {
            out[p->Index] = {p->Left, p->Top};
        }
        return out;
    }
    /// Runs `work` once, from the event loop, as soon as the solve dialog shows.
    void whenSolving(std::function<void(TSolveDlg&)> work) {
        auto* poll = new QTimer(m_form.get());
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, work] {
            TSolveDlg* dialog = m_form->solveDialog();
            if (dialog != nullptr && dialog->isVisible() && jig().AutoSolving) {
                poll->stop();
                poll->deleteLater();
                work(*dialog);
            }
        });
        poll->start();
    }
    /// Saves a picture when ZG_E2E_SHOTS names a folder, for looking at by eye.
    static void shot(const QImage& image, const char* name) {
        if (const QString shots = qEnvironmentVariable("ZG_E2E_SHOTS"); !shots.isEmpty()) {
            EXPECT_TRUE(image.save(shots + QLatin1Char('/') + QLatin1String(name)));
        }
    }

    static GiftFactory* s_factory;
    static QString s_gift;
    DialogWatcher m_dialogs;
    std::unique_ptr<TMainForm> m_form;
};

GiftFactory* CheatsE2e::s_factory = nullptr;
QString CheatsE2e::s_gift;

TEST_F(CheatsE2e, AutoSolveSolvesFortyTwoPiecesAndTheCompletionSaysSo) {
    ASSERT_EQ(jig().State.PieceCount, 42);
    int shownSpeed = 0;
    bool halfWay = false;
    whenSolving([&](TSolveDlg& dialog) {
        shownSpeed = dialog.speed();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set speed"));
        dialog.speedBar()->setValue(10);
        // The board and the dialog once half the pieces are in.
        auto* half = new QTimer(&dialog);
        half->setInterval(5);
        QObject::connect(half, &QTimer::timeout, half, [this, half, &dialog, &halfWay] {
            if (jig().State.SolvedCount >= 21 && !halfWay) {
                halfWay = true;
                half->stop();
                EXPECT_GE(dialog.solveGauge()->percent(), 40);
                shot(m_form->grab().toImage(), "auto-solve-board.png");
                shot(dialog.grab().toImage(), "auto-solve-dialog.png");
            }
        });
        half->start();
    });
    m_form->actions().Solve->trigger();

    EXPECT_EQ(shownSpeed, 5);
    EXPECT_TRUE(halfWay);
    EXPECT_EQ(jig().State.SolvedCount, 42);
    EXPECT_FALSE(jig().AutoSolving);
    EXPECT_FALSE(m_form->solveDialog()->isVisible());
    EXPECT_EQ(m_form->solveDialog()->solveGauge()->percent(), 97); // shown before the last join
    for (const TFormPiece* p : jig().Pieces) {
        EXPECT_EQ(p->GroupId, jig().Pieces[0]->GroupId);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_dialogs.congratulations == 1; }, 5000));
    EXPECT_TRUE(m_dialogs.congratulationTexts[0].endsWith(QStringLiteral(". You used Auto-solve!")))
        << m_dialogs.congratulationTexts[0].toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_dialogs.zoomPictures == 1; }, 5000));
    EXPECT_EQ(m_form->solvedStatus()->text(), QStringLiteral("Solved 42 of 42"));
    EXPECT_TRUE(jig().State.Solved);
    EXPECT_EQ(jig().State.CheatCount, 1);
}

TEST_F(CheatsE2e, StopClosesTheSpeedDialogAndEndsTheSolve) {
    whenSolving([&](TSolveDlg& dialog) {
        dialog.speedBar()->setValue(1);
        QTimer::singleShot(100, &dialog,
                           [&dialog] { QTest::mouseClick(dialog.stopButton(), Qt::LeftButton); });
    });
    m_form->actions().Solve->trigger();
    EXPECT_FALSE(jig().AutoSolving);
    EXPECT_FALSE(m_form->solveDialog()->isVisible());
    EXPECT_LT(jig().State.SolvedCount, 42);
    EXPECT_TRUE(jig().State.AutoSolved);
    EXPECT_EQ(jig().MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(jig().IsLifted());
}

TEST_F(CheatsE2e, RestartChosenWhileAutoSolvingWaitsForTheSolveToStop) {
    const TJigsaw* first = &jig();
    m_dialogs.answer = QMessageBox::Yes;
    bool asked = false;
    whenSolving([&](TSolveDlg& dialog) {
        dialog.speedBar()->setValue(7);
        QTimer::singleShot(150, m_form.get(), [&] {
            asked = true;
            EXPECT_TRUE(jig().AutoSolving);
            m_form->actions().Restart->trigger();
            // Nothing is freed under the running solve.
            EXPECT_EQ(&jig(), first);
        });
    });
    m_form->actions().Solve->trigger();

    EXPECT_TRUE(asked);
    EXPECT_EQ(
        m_dialogs.messages.count(QStringLiteral("This will restart the jigsaw from scratch. Are you sure?")),
        1);
    EXPECT_NE(&jig(), first);
    EXPECT_TRUE(jig().IsPlaying());
    EXPECT_FALSE(jig().AutoSolving);
    EXPECT_EQ(jig().State.SolvedCount, 0);
    EXPECT_EQ(jig().State.CheatCount, 0);
    EXPECT_FALSE(m_form->solveDialog()->isVisible());
    EXPECT_TRUE(m_form->actions().Solve->isEnabled());
    EXPECT_TRUE(m_form->actions().ArrangeAtEdge->isEnabled());
}

TEST_F(CheatsE2e, ArrangedAtTheEdgeTheRingSurvivesAWindowResize) {
    m_form->actions().ArrangeAtEdge->trigger();
    shot(m_form->grab().toImage(), "arrange-edge.png");
    const auto ring = places();
    // The middle of the board is free.
    const int32_t w = m_form->board()->width();
    const int32_t h = m_form->board()->height();
    const Rect middle = Rect::fromSize(w * 2 / 5, h * 2 / 5, w / 5, h / 5);
    for (const TFormPiece* p : jig().Pieces) {
        EXPECT_FALSE(p->boardRect().intersects(middle)) << "piece " << p->Index;
    }

    m_form->resize(1000, 760);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_form->board()->width() > w; }, 5000));
    m_form->resize(900, 700);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_form->board()->width() == w; }, 5000));
    EXPECT_EQ(places(), ring);

    m_form->actions().SortByShape->trigger();
    m_form->actions().ArrangeAtEdge->trigger();
    shot(m_form->grab().toImage(), "arrange-edge-colour.png");
    m_form->actions().ArrangeInGrid->trigger();
    shot(m_form->grab().toImage(), "arrange-grid.png");

    // A hint seen half-way: the board as it is shown with a piece flashed.
    int paints = 0;
    QImage midHint;
    const QImage before = wrapBitmap(jig().BackBuffer).copy();
    struct PaintSpy : QObject {
        std::function<void()> onPaint;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) {
                onPaint();
            }
            return false;
        }
    } spy;
    spy.onPaint = [&] {
        ++paints;
        if (midHint.isNull() && paints >= 5) {
            const QImage now = wrapBitmap(jig().BackBuffer).copy();
            if (now != before) {
                midHint = now;
            }
        }
    };
    m_form->board()->installEventFilter(&spy);
    m_form->actions().Hint->trigger();
    m_form->board()->removeEventFilter(&spy);
    EXPECT_GE(paints, 32);
    EXPECT_FALSE(midHint.isNull()); // a flashed piece changed the board
    EXPECT_EQ(jig().State.CheatCount, 1);
    shot(midHint, "mid-hint.png");
}

} // namespace
} // namespace zg::test

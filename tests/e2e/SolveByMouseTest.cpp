// The whole program on a real gift, played with the mouse: the main window is
// built on gifts made by gift-maker and its board gets the toolkit's mouse
// events, piece by piece, until the picture is complete.

#include "E2eSupport.h"

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"

#include <QAction>
#include <QLabel>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace zg::test {
namespace {

class SolveByMouse : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!GiftFactory::available()) {
            return;
        }
        s_factory = new GiftFactory;
        s_small =
            s_factory->make(QStringLiteral("small-gift"), {QStringLiteral("--pieces"), QStringLiteral("4"),
                                                           QStringLiteral("--seed"), QStringLiteral("11")});
        s_full =
            s_factory->make(QStringLiteral("full-gift"), {QStringLiteral("--pieces"), QStringLiteral("42"),
                                                          QStringLiteral("--seed"), QStringLiteral("7")});
        s_turned =
            s_factory->make(QStringLiteral("turned-gift"),
                            {QStringLiteral("--pieces"), QStringLiteral("12"), QStringLiteral("--seed"),
                             QStringLiteral("5"), QStringLiteral("--rotation"), QStringLiteral("on")});
    }
    static void TearDownTestSuite() {
        delete s_factory;
        s_factory = nullptr;
    }
    void SetUp() override {
        if (s_small.isEmpty() || s_full.isEmpty() || s_turned.isEmpty()) {
            GTEST_SKIP() << "gift-maker is not available";
        }
    }

    /// Opens the main window on `gift`, large enough to lay the picture out
    /// beside the loose pieces, and waits for the first build.
    void open(const QString& gift) {
        m_form = std::make_unique<TMainForm>(gift.toStdString());
        m_form->resize(1300, 960);
        ASSERT_TRUE(startAndWaitForBoard(*m_form));
        m_mouse = std::make_unique<BoardDriver>(*m_form);
    }
    void TearDown() override {
        if (m_form) {
            m_form->close();
        }
    }

    TJigsaw& jig() { return m_form->jigsaw(); }
    TFormPiece& piece(int32_t i) { return *jig().Pieces[std::size_t(i)]; }
    Point topLeft(const TFormPiece& p) { return {p.Left, p.Top}; }
    Rect boardRect() { return {0, 0, m_form->board()->width(), m_form->board()->height()}; }

    /// Drags piece `p` by the mouse so that its top-left lands on `to`.
    void dragPieceTo(TFormPiece& p, Point to) {
        const std::optional<Point> grab = m_mouse->visiblePoint(p);
        ASSERT_TRUE(grab.has_value()) << "piece " << p.Index << " is wholly covered";
        m_mouse->drag(*grab, {grab->X + to.X - p.Left, grab->Y + to.Y - p.Top});
        ASSERT_EQ(jig().MouseMode, TJigsaw::mmIdle);
    }

    /// Farther apart than this, two pieces never snap together.
    int32_t snapMargin() { return jig().State.PieceHeight / 4 + 2; }

    /// A place for piece `p` on the board, outside `keepClear` and beyond the
    /// snapping distance of every other piece, so that nothing can join there.
    std::optional<Point> freePlace(const TFormPiece& p, const Rect& keepClear) {
        const int32_t margin = snapMargin();
        const Rect board = boardRect();
        for (int32_t y = 4; y + p.Height + 4 <= board.Bottom; y += 8) {
            for (int32_t x = 4; x + p.Width + 4 <= board.Right; x += 8) {
                const Rect grown = Rect::fromSize(x, y, p.Width, p.Height).inflate(margin, margin);
                if (grown.intersects(keepClear)) {
                    continue;
                }
                bool clear = true;
                for (const TFormPiece* q : jig().Pieces) {
                    clear = clear && (q == &p || !grown.intersects(q->boardRect()));
                }
                if (clear) {
                    return Point{x, y};
                }
            }
        }
        return std::nullopt;
    }

    /// Moves piece `p` out of the way by the mouse; it must not join anything.
    void park(TFormPiece& p, const Rect& keepClear) {
        const std::optional<Point> place = freePlace(p, keepClear);
        ASSERT_TRUE(place.has_value()) << "no room for piece " << p.Index;
        const int32_t solved = jig().State.SolvedCount;
        dragPieceTo(p, *place);
        ASSERT_EQ(topLeft(p), *place);
        ASSERT_EQ(jig().State.SolvedCount, solved) << "parking piece " << p.Index << " joined it";
    }

    /// Moves the loose pieces that wholly cover piece `p` out of the way.
    void uncover(TFormPiece& p, const Rect& keepClear) {
        TJigsaw& j = jig();
        for (int guard = 0; !m_mouse->visiblePoint(p) && guard < j.State.PieceCount; ++guard) {
            TFormPiece* above =
                j.TrayByNumber(p.TrayIndex)
                    .PieceAtPoint(p.Left + p.Width / 2, p.Top + p.Height / 2, false, j.MaskAtlas);
            ASSERT_NE(above, nullptr);
            ASSERT_NO_FATAL_FAILURE(park(*above, keepClear));
        }
    }

    /// Turns a loose piece upright where it lies with control+clicks: a right
    /// click turns it clockwise, a left one anticlockwise. It must not join.
    void turnUprightByMouse(TFormPiece& p) {
        const int32_t solved = jig().State.SolvedCount;
        while ((p.Rotation & 3) != 0) {
            const std::optional<Point> at = m_mouse->visiblePoint(p);
            ASSERT_TRUE(at.has_value()) << "piece " << p.Index << " is wholly covered";
            const Qt::MouseButton button = (p.Rotation & 3) == 1 ? Qt::LeftButton : Qt::RightButton;
            const int32_t before = p.Rotation & 3;
            m_mouse->press(*at, button, Qt::ControlModifier);
            m_mouse->release(*at, button, Qt::ControlModifier);
            ASSERT_NE(p.Rotation & 3, before) << "piece " << p.Index << " did not turn";
        }
        ASSERT_EQ(jig().State.SolvedCount, solved) << "turning piece " << p.Index << " joined it";
    }

    /// Solves the puzzle by dragging every piece, in index order, to its
    /// place in a picture laid out at the board's top-left. Every drop after
    /// the first must join the piece to the picture. The window's clock is
    /// stopped before the last drop, so the caller decides when the next tick
    /// comes.
    void solveByMouse() {
        TJigsaw& j = jig();
        const int32_t margin = snapMargin();
        const Point origin{margin + 4, margin + 4};
        const Rect picture = Rect::fromSize(origin.X, origin.Y, j.State.ScaledWidth, j.State.ScaledHeight);
        const Rect keepClear = picture.inflate(margin, margin);
        ASSERT_TRUE(boardRect().contains(keepClear))
            << "the board (" << boardRect().Right << " x " << boardRect().Bottom
            << ") is too small for the picture";

        // Clear the picture's place first.
        for (TFormPiece* p : std::vector<TFormPiece*>(j.Pieces.begin(), j.Pieces.end())) {
            if (p->boardRect().intersects(keepClear)) {
                ASSERT_NO_FATAL_FAILURE(park(*p, keepClear));
            }
        }

        const int32_t count = j.State.PieceCount;
        for (int32_t k = 0; k < count; ++k) {
            TFormPiece& p = piece(k);
            // A piece wholly covered by loose ones: move those away first;
            // a turned piece is turned upright where it lies.
            ASSERT_NO_FATAL_FAILURE(uncover(p, keepClear));
            ASSERT_NO_FATAL_FAILURE(turnUprightByMouse(p));
            ASSERT_NO_FATAL_FAILURE(uncover(p, keepClear));
            if (k == count - 1) {
                m_form->timer().stop();
            }
            const Point home{origin.X + p.HomeX, origin.Y + p.HomeY};
            ASSERT_NO_FATAL_FAILURE(dragPieceTo(p, home));
            EXPECT_EQ(topLeft(p), home) << "piece " << k;
            if (k > 0) {
                EXPECT_TRUE(p.Joined) << "piece " << k << " did not join";
                EXPECT_EQ(p.GroupId, piece(0).GroupId) << "piece " << k;
                EXPECT_EQ(j.State.SolvedCount, k + 1) << "piece " << k;
            }
        }
    }

    static GiftFactory* s_factory;
    static QString s_small;
    static QString s_full;
    static QString s_turned;
    DialogWatcher m_dialogs;
    std::unique_ptr<TMainForm> m_form;
    std::unique_ptr<BoardDriver> m_mouse;
};

GiftFactory* SolveByMouse::s_factory = nullptr;
QString SolveByMouse::s_small;
QString SolveByMouse::s_full;
QString SolveByMouse::s_turned;

TEST_F(SolveByMouse, FortyTwoPiecesSolvedByDragsCongratulateOnTheNextTick) {
    ASSERT_NO_FATAL_FAILURE(open(s_full));
    ASSERT_EQ(jig().State.PieceCount, 42);
    ASSERT_NO_FATAL_FAILURE(solveByMouse());

    // The last join raised the completion, but nothing shows during the drop.
    EXPECT_EQ(jig().State.SolvedCount, 42);
    EXPECT_TRUE(jig().CompletionCandidate);
    EXPECT_FALSE(jig().State.Solved);
    EXPECT_EQ(m_dialogs.congratulations, 0);

    // For looking at the result by eye: ZG_E2E_SHOTS names a folder for a
    // picture of the solved board.
    if (const QString shots = qEnvironmentVariable("ZG_E2E_SHOTS"); !shots.isEmpty()) {
        EXPECT_TRUE(m_form->grab().save(shots + QStringLiteral("/solved-board.png")));
    }

    m_form->timer().start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_dialogs.congratulations == 1; }, 5000));
    EXPECT_TRUE(jig().State.Solved);
    EXPECT_EQ(m_form->solvedStatus()->text(), QStringLiteral("Solved 42 of 42"));
}

TEST_F(SolveByMouse, TwoByTwoSolvedByDragsCongratulatesOnTheNextTick) {
    ASSERT_NO_FATAL_FAILURE(open(s_small));
    ASSERT_EQ(jig().State.PieceCount, 4);
    ASSERT_NO_FATAL_FAILURE(solveByMouse());
    EXPECT_EQ(jig().State.SolvedCount, 4);
    EXPECT_EQ(m_dialogs.congratulations, 0);

    m_form->timer().start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_dialogs.congratulations == 1; }, 5000));
    EXPECT_TRUE(jig().State.Solved);
    EXPECT_EQ(m_form->solvedStatus()->text(), QStringLiteral("Solved 4 of 4"));
}

TEST_F(SolveByMouse, TurnedPiecesAreTurnedUprightByControlClicksAndSolved) {
    ASSERT_NO_FATAL_FAILURE(open(s_turned));
    ASSERT_TRUE(jig().Config.RotationOn);
    ASSERT_EQ(jig().State.PieceCount, 12);
    int turned = 0;
    for (const TFormPiece* p : jig().Pieces) {
        turned += (p->Rotation & 3) != 0;
    }
    EXPECT_GE(turned, 4) << "the scatter turns loose pieces at random";
    ASSERT_NO_FATAL_FAILURE(solveByMouse());
    EXPECT_EQ(jig().State.SolvedCount, 12);
    m_form->timer().start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_dialogs.congratulations == 1; }, 5000));
    EXPECT_TRUE(jig().State.Solved);
}

TEST_F(SolveByMouse, ShiftDragWithCheatingOffMovesThePieceLikeAPlainDrag) {
    ASSERT_NO_FATAL_FAILURE(open(s_small));
    m_form->actions().AllowCheating->trigger();
    ASSERT_FALSE(jig().Config.CheatingOn);
    TFormPiece& p = piece(0);
    const std::optional<Point> place = freePlace(p, {});
    ASSERT_TRUE(place.has_value());
    const std::optional<Point> grab = m_mouse->visiblePoint(p);
    ASSERT_TRUE(grab.has_value());
    m_mouse->drag(*grab, {grab->X + place->X - p.Left, grab->Y + place->Y - p.Top}, Qt::ShiftModifier);
    EXPECT_EQ(topLeft(p), *place);
    EXPECT_EQ(jig().MouseMode, TJigsaw::mmIdle);
}

TEST_F(SolveByMouse, ShiftDragWithCheatingOnDoesNotPickThePiece) {
    ASSERT_NO_FATAL_FAILURE(open(s_small));
    ASSERT_TRUE(jig().Config.CheatingOn);
    TFormPiece& p = piece(0);
    const Point before = topLeft(p);
    const std::optional<Point> grab = m_mouse->visiblePoint(p);
    ASSERT_TRUE(grab.has_value());
    m_mouse->drag(*grab, {grab->X + 40, grab->Y + 30}, Qt::ShiftModifier);
    EXPECT_EQ(topLeft(p), before);
    EXPECT_EQ(jig().ClickedPiece, &p);
}

TEST_F(SolveByMouse, MovingOffATrayButtonBeforeReleaseCancelsIt) {
    ASSERT_NO_FATAL_FAILURE(open(s_small));
    TBox& tray = jig().addTray(1);
    jig().RefreshBoardRect(tray.OuterRect());
    const Rect button = tray.MinimiseRect();
    const Point on{(button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2};
    const Bitmap24 up = jig().BackBuffer;

    m_mouse->move(on);
    m_mouse->press(on);
    EXPECT_EQ(jig().MouseMode, TJigsaw::mmTrayButton);
    EXPECT_NE(jig().BackBuffer.pixel(button.Left + 1, button.Top + 1),
              up.pixel(button.Left + 1, button.Top + 1))
        << "the button is not drawn pressed";
    m_mouse->move({on.X, on.Y + 40});
    m_mouse->release({on.X, on.Y + 40});

    EXPECT_TRUE(tray.Open);
    EXPECT_EQ(jig().MouseMode, TJigsaw::mmIdle);
    EXPECT_EQ(jig().BackBuffer.pixel(button.Left + 1, button.Top + 1),
              up.pixel(button.Left + 1, button.Top + 1));

    // Pressed and released on the button, it minimises the tray.
    m_mouse->move(on);
    m_mouse->press(on);
    m_mouse->release(on);
    EXPECT_FALSE(tray.Open);
}

TEST_F(SolveByMouse, BandSelectionDroppedNextToItsNeighbourDoesNotJoin) {
    ASSERT_NO_FATAL_FAILURE(open(s_full));
    TFormPiece& left = piece(0);
    TFormPiece& right = piece(1);
    ASSERT_NO_FATAL_FAILURE(park(left, {}));
    ASSERT_NO_FATAL_FAILURE(park(right, {}));

    // A band drawn just around the right-hand piece.
    const Rect around = right.boardRect().inflate(4, 4);
    m_mouse->press({around.Left, around.Top});
    ASSERT_EQ(jig().MouseMode, TJigsaw::mmBanding);
    m_mouse->move({around.Right, around.Bottom});
    m_mouse->release({around.Right, around.Bottom});
    ASSERT_EQ(jig().MouseMode, TJigsaw::mmSelection);
    ASSERT_EQ(jig().MovingPieces.size(), 1u);

    const Point fit = right.positionNextTo(left);
    ASSERT_NO_FATAL_FAILURE(dragPieceTo(right, fit));
    EXPECT_EQ(topLeft(right), fit);
    EXPECT_FALSE(right.Joined);
    EXPECT_NE(right.GroupId, left.GroupId);

    // Picked up by a click, the same piece joins from where it lies.
    ASSERT_NO_FATAL_FAILURE(dragPieceTo(right, {fit.X + 1, fit.Y}));
    EXPECT_TRUE(right.Joined);
    EXPECT_EQ(right.GroupId, left.GroupId);
}

} // namespace
} // namespace zg::test

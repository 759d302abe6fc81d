// Mouse and keys reach the puzzle only once the board is live.

#include "GuiSupport.h"

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zg::test {
namespace {

class MainFormInput : public DemoGiftSuite {
protected:
    void SetUp() override {
        DemoGiftSuite::SetUp();
        if (IsSkipped()) {
            return;
        }
        m_form = std::make_unique<TMainForm>(s_gift.toStdString());
        m_form->show();
        ASSERT_TRUE(waitForFirstBuild(*m_form));
    }
    void TearDown() override {
        if (m_form) {
            m_form->close();
        }
    }

    /// A board point on the exact shape of the top piece, or (-1, -1).
    QPoint pointOnAPiece() const {
        TJigsaw& jig = m_form->jigsaw();
        const TFormPiece* top = jig.mainArea().Pieces.back();
        for (int32_t y = top->Top; y < top->Top + top->Height; ++y) {
            for (int32_t x = top->Left; x < top->Left + top->Width; ++x) {
                if (jig.hitTest(*top, x, y) && &jig.TrayAt(x, y) == &jig.mainArea()) {
                    return {x, y};
                }
            }
        }
        return {-1, -1};
    }
    /// A board point that no piece covers, or (-1, -1).
    QPoint emptyPoint() const {
        TJigsaw& jig = m_form->jigsaw();
        for (int32_t y = 5; y < jig.BackBuffer.height(); y += 7) {
            for (int32_t x = 5; x < jig.BackBuffer.width(); x += 7) {
                bool covered = false;
                for (const TFormPiece* p : jig.Pieces) {
                    covered = covered || p->boardRect().contains(x, y);
                }
                if (!covered) {
                    return {x, y};
                }
            }
        }
        return {-1, -1};
    }

    ModalWatcher m_watcher;
    std::unique_ptr<TMainForm> m_form;
};

TEST_F(MainFormInput, PressingOnAPiecePicksItUpAndReleasingPutsItDown) {
    const QPoint at = pointOnAPiece();
    ASSERT_NE(at, QPoint(-1, -1));
    QTest::mousePress(m_form->board(), Qt::LeftButton, {}, at);
    EXPECT_EQ(m_form->jigsaw().MouseMode, TMove::mmDragPiece);
    QTest::mouseRelease(m_form->board(), Qt::LeftButton, {}, at + QPoint(3, 3));
    EXPECT_EQ(m_form->jigsaw().MouseMode, TMove::mmIdle);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFormInput, MiddleButtonDragEndsWhenTheMiddleButtonIsReleased) {
    const QPoint at = pointOnAPiece();
    ASSERT_NE(at, QPoint(-1, -1));
    TFormPiece* top = m_form->jigsaw().mainArea().Pieces.back();
    const int32_t left = top->Left;
    QTest::mousePress(m_form->board(), Qt::MiddleButton, {}, at);
    EXPECT_EQ(m_form->jigsaw().MouseMode, TMove::mmDragPiece);
    QTest::mouseMove(m_form->board(), at + QPoint(20, 10));
    QTest::mouseRelease(m_form->board(), Qt::MiddleButton, {}, at + QPoint(20, 10));
    EXPECT_EQ(m_form->jigsaw().MouseMode, TMove::mmIdle);
    EXPECT_FALSE(top->Hidden);
    EXPECT_EQ(top->Left, left + 20);
}

TEST_F(MainFormInput, AModalWindowDuringADragPutsThePieceBackUnmoved) {
    // A window opened by the tick (the completion dialogs) or by a shortcut
    // takes the mouse: the drag's release never reaches the board.
    const QPoint at = pointOnAPiece();
    ASSERT_NE(at, QPoint(-1, -1));
    TJigsaw& jig = m_form->jigsaw();
    const TFormPiece* piece = jig.mainArea().Pieces.back();
    const int32_t left = piece->Left;
    const int32_t top = piece->Top;
    QTest::mousePress(m_form->board(), Qt::LeftButton, {}, at);
    QTest::mouseMove(m_form->board(), at + QPoint(40, 30));
    ASSERT_EQ(jig.MouseMode, TMove::mmDragPiece);

    QMessageBox::information(m_form.get(), QStringLiteral("Zanthoria Gift"), QStringLiteral("Modal"));
    EXPECT_EQ(m_watcher.messages, QStringList{QStringLiteral("Modal")});
    EXPECT_EQ(jig.MouseMode, TMove::mmIdle);
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_FALSE(piece->Hidden);
    EXPECT_EQ(piece->Left, left);
    EXPECT_EQ(piece->Top, top);
    // Moving on afterwards, button up, drags nothing.
    QTest::mouseMove(m_form->board(), at + QPoint(90, 60));
    QTest::mouseRelease(m_form->board(), Qt::LeftButton, {}, at + QPoint(90, 60));
    EXPECT_EQ(piece->Left, left);
    EXPECT_EQ(piece->Top, top);
}

TEST_F(MainFormInput, RightClickOnEmptyBoardOpensThePlayPopup) {
    const QPoint at = emptyPoint();
    ASSERT_NE(at, QPoint(-1, -1));
    QString opened;
    QTimer::singleShot(100, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            opened = popup->objectName();
            popup->close();
        }
    });
    QTest::mouseClick(m_form->board(), Qt::RightButton, {}, at);
    EXPECT_EQ(opened, QStringLiteral("PopupPlay"));
    EXPECT_EQ(m_form->jigsaw().MouseMode, TMove::mmIdle);
}

TEST_F(MainFormInput, HoldingShiftShowsTheCheatHelpOnTheStatusLine) {
    QTest::keyPress(m_form->board(), Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(m_form->statusLine()->text(),
              QStringLiteral("Mouse: Left=Fetch neighbor, Right=Show neighbor"));
    QTest::keyRelease(m_form->board(), Qt::Key_Shift, Qt::NoModifier);
    EXPECT_TRUE(m_form->statusLine()->text().isEmpty());
}

} // namespace
} // namespace zg::test

// The board widget: painting from the back buffer, resizing, text drawing, and
// the board before the first build.

#include "GuiSupport.h"

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"
#include "ui/SystemColors.h"

#include <QAction>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace zg::test {
namespace {

class MainFormBoard : public DemoGiftSuite {};

TEST_F(MainFormBoard, WindowStartsWithItsCaptionAndSize) {
    TMainForm form(s_gift.toStdString());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zanthoria Gift"));
    EXPECT_EQ(form.size(), QSize(603, 501));
    EXPECT_TRUE(form.board()->testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_EQ(form.speedBar()->height(), 41);
    EXPECT_FALSE(form.boxBar()->isVisibleTo(&form));
}

TEST_F(MainFormBoard, ClicksResizesAndPaintsBeforeTheFirstBuildLeaveThePuzzleAlone) {
    ModalWatcher watcher;
    TMainForm form(s_gift.toStdString());
    form.timer().stop();
    const Bitmap24 before = form.jigsaw().BackBuffer;
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.show();
    form.timer().stop();
    QTest::mouseClick(form.board(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(form.board(), Qt::RightButton, {}, QPoint(40, 40));
    form.resize(700, 560);
    form.board()->repaint();
    QCoreApplication::processEvents();

    EXPECT_FALSE(form.isBoardLive());
    EXPECT_EQ(form.jigsaw().GameState, TJigsaw::kNoPuzzle);
    EXPECT_EQ(form.jigsaw().MouseMode, 0);
    EXPECT_EQ(form.jigsaw().pieceCount(), 0);
    EXPECT_TRUE(form.jigsaw().BackBuffer == before);
    EXPECT_EQ(form.board()->source(), nullptr);
    EXPECT_TRUE(form.lastBoardSize().isEmpty());
    form.close();
}

TEST_F(MainFormBoard, BoardPaintsTheBackBufferPixels) {
    ModalWatcher watcher;
    TMainForm form(s_gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    Bitmap24& buffer = form.jigsaw().BackBuffer;
    buffer.fill(Rect{10, 12, 30, 40}, rgb(200, 30, 90));
    form.presentNow(Rect{0, 0, 50, 50});
    const QImage shot = form.board()->grab(QRect(0, 0, 50, 50)).toImage();
    EXPECT_EQ(QColor(shot.pixel(15, 20)), QColor(200, 30, 90));
    EXPECT_EQ(
        QColor(shot.pixel(5, 5)).rgb(),
        QColor(redOf(buffer.pixel(5, 5)), greenOf(buffer.pixel(5, 5)), blueOf(buffer.pixel(5, 5))).rgb());
}

TEST_F(MainFormBoard, HidingTheToolbarResizesTheBoardAtOnce) {
    ModalWatcher watcher;
    TMainForm form(s_gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    const int height = form.board()->height();

    form.actions().Toolbar->trigger();
    EXPECT_FALSE(form.actions().Toolbar->isChecked());
    EXPECT_FALSE(form.speedBar()->isVisible());
    EXPECT_EQ(form.board()->height(), height + 41);
    EXPECT_EQ(form.jigsaw().BackBuffer.height(), height + 41);
    EXPECT_EQ(form.jigsaw().mainArea().Height, height + 41);

    form.actions().Statusbar->trigger();
    EXPECT_EQ(form.jigsaw().BackBuffer.height(), height + 41 + 28);

    form.actions().Toolbar->trigger();
    form.actions().Statusbar->trigger();
    EXPECT_EQ(form.jigsaw().BackBuffer.height(), height);
}

TEST_F(MainFormBoard, ChosenBackgroundColourRepaintsTheBoard) {
    ModalWatcher watcher;
    TMainForm form(s_gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    TJigsaw& jig = form.jigsaw();
    const Rect corner{0, 0, 1, 1};
    watcher.colourToPick = QColor();
    form.actions().BackgroundColor->trigger();
    EXPECT_EQ(jig.BoardColor, resolveColor(0x80000005));

    watcher.colourToPick = QColor(0, 128, 255);
    form.actions().BackgroundColor->trigger();
    EXPECT_EQ(jig.BoardColor, rgb(0, 128, 255));
    // The gradient starts with the full board colour in its top row.
    EXPECT_EQ(jig.Mural.Wall().pixel(corner.Left, corner.Top), rgb(0, 128, 255));
    EXPECT_EQ(form.board()->boardColor(), QColor(0, 128, 255));
}

TEST_F(MainFormBoard, OutlinesAndRotatingPiecesRedrawTheBoardAtOnce) {
    ModalWatcher watcher;
    TMainForm form(s_gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    TJigsaw& jig = form.jigsaw();
    ASSERT_EQ(jig.Config.OutlineStyle, TPieces::kOutlineCard);
    const Bitmap24 card = jig.BackBuffer;
    form.actions().OutlineItems[TPieces::kOutlineNone]->trigger();
    EXPECT_FALSE(jig.BackBuffer == card);
    form.actions().OutlineItems[TPieces::kOutlineWood]->trigger();
    EXPECT_FALSE(jig.BackBuffer == card);
    EXPECT_FALSE(jig.Pieces[0]->WoodSprite.empty());
    form.actions().OutlineItems[TPieces::kOutlineCard]->trigger();
    EXPECT_TRUE(jig.BackBuffer == card);

    // Switching rotation on and answering Yes turns loose pieces at once.
    ASSERT_FALSE(form.actions().Rotation->isChecked());
    watcher.answer = QMessageBox::Yes;
    form.actions().Rotation->trigger();
    EXPECT_TRUE(form.actions().Rotation->isChecked());
    EXPECT_TRUE(
        watcher.messages.contains(QStringLiteral("Would you like some pieces randomly rotated now?")));
    int turned = 0;
    for (const TFormPiece* p : jig.Pieces) {
        turned += p->Rotation != 0;
    }
    EXPECT_GT(turned, 0);
    EXPECT_FALSE(jig.BackBuffer == card);
    // Off again: Yes puts every piece upright.
    form.actions().Rotation->trigger();
    EXPECT_FALSE(form.actions().Rotation->isChecked());
    for (const TFormPiece* p : jig.Pieces) {
        EXPECT_EQ(p->Rotation, 0) << "piece " << p->Index;
    }
}

TEST_F(MainFormBoard, ResizingTheWindowKeepsEveryPieceOnTheBoard) {
    ModalWatcher watcher;
    TMainForm form(s_gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    form.resize(900, 700);
    QCoreApplication::processEvents();
    TJigsaw& jig = form.jigsaw();
    ASSERT_EQ(jig.BackBuffer.width(), form.board()->width());
    const Rect board = jig.BackBuffer.bounds();
    for (const TFormPiece* p : jig.Pieces) {
        EXPECT_TRUE(intersection(p->boardRect(), board).width() >= jig.State.PieceWidth / 2 ||
                    intersection(p->boardRect(), board).height() >= jig.State.PieceHeight / 2)
            << "piece " << p->Index;
    }
}

TEST_F(MainFormBoard, DrawTextPaintsInsideItsClipOnly) {
    TMainForm form(s_gift.toStdString());
    Bitmap24 target(80, 40);
    target.fill(rgb(255, 255, 255));
    FontSpec font;
    font.Height = -16;
    const Rect clip{0, 0, 40, 40};
    form.drawText(target, clip, 2, 4, "WWWWWWWW", font, rgb(0, 0, 0));
    int darkInside = 0;
    int darkOutside = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (target.pixel(x, y) != rgb(255, 255, 255)) {
                (x < 40 ? darkInside : darkOutside) += 1;
            }
        }
    }
    EXPECT_GT(darkInside, 20);
    EXPECT_EQ(darkOutside, 0);
    const Point extent = form.textExtent("WWWWWWWW", font);
    EXPECT_GT(extent.X, 40);
    EXPECT_GE(extent.Y, 16);
}

TEST_F(MainFormBoard, BusyCursorIsRestoredByTheDefaultShape) {
    TMainForm form(s_gift.toStdString());
    form.setCursor(CursorShape::Busy);
    form.setCursor(CursorShape::Busy);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    form.setCursor(CursorShape::Default);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    form.setCursor(CursorShape::Grab);
    EXPECT_EQ(form.board()->cursor().hotSpot(), QPoint(16, 17));
}

} // namespace
} // namespace zg::test

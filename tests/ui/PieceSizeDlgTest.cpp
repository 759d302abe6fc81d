// The piece size dialog over a real puzzle object: what its controls accept
// and what Apply, OK and Cancel do to the pieces.

#include "game/TJigsaw.h"
#include "pieces/EdgeShapes.h"
#include "support/FakeHost.h"
#include "ui/TPieceSizeDlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>

namespace zg {
namespace {

Bitmap24 makePicture(int32_t w, int32_t h) {
    Bitmap24 b(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            b.setPixel(x, y, rgb(uint8_t(x * 3), uint8_t(y * 5), uint8_t((x + y) >> 1)));
        }
    }
    return b;
}

class PieceSizeDlgTest : public ::testing::Test {
protected:
    /// Builds and lays out a puzzle of a `w` x `h` picture in `pieces` pieces
    /// and opens the dialog on it.
    void build(int32_t w, int32_t h, int pieces) {
        jig.State.Version = 5;
        jig.State.RequestedPieces = uint16_t(pieces);
        jig.State.Seed = 4242;
        jig.State.Style = kStyleClassic;
        jig.State.Oddness = 4;
        jig.Config.BoardWidth = 1400;
        jig.Config.BoardHeight = 1000;
        jig.BuildPuzzle(makePicture(w, h));
        jig.NewLayout();
        jig.SetGameState(TJigsaw::kPlaying);
        jig.SetBoardSize(1400, 1000);
        PieceSizeHooks hooks = pieceSizeHooksFor([this]() -> TJigsaw& { return jig; }, nullptr);
        const auto cut = hooks.setScale;
        hooks.setScale = [this, cut](int scale) {
            ++cuts;
            return cut(scale);
        };
        dialog = std::make_unique<TPieceSizeDlg>(std::move(hooks));
        dialog->load(jig.State.Style, jig.State.Oddness, jig.State.ScalePercent);
    }

    std::vector<Rect> homes() const {
        std::vector<Rect> out;
        for (const TFormPiece* p : jig.Pieces) {
            out.push_back(Rect::fromSize(p->HomeX, p->HomeY, p->Width, p->Height));
        }
        return out;
    }
    int litLamps() const {
        int n = 0;
        for (const bool lit : dialog->lamps()) {
            n += lit ? 1 : 0;
        }
        return n;
    }
    TFormPiece& at(std::size_t i) { return *jig.Pieces[i]; }
    /// Joins what fits among `list` as a drop on the board does: snap, then
    /// the tray's paint order and the groups' recorded places follow.
    void drop(const PieceList& list, Rect& dirty) {
        jig.SnapDropped(list, dirty);
        jig.MainArea().SortPieces();
        jig.RecordPositions(jig.MainArea());
    }

    test::FakeHost host;
    TJigsaw jig{host};
    std::unique_ptr<TPieceSizeDlg> dialog;
    int cuts = 0;
};

TEST_F(PieceSizeDlgTest, OkWithoutChangesDoesNotRecut) {
    build(400, 300, 42);
    const std::vector<Rect> before = homes();
    EXPECT_EQ(dialog->scaleLabel()->text(), QStringLiteral("100%"));
    EXPECT_EQ(dialog->oddnessLabel()->text(), QStringLiteral("4"));
    EXPECT_EQ(dialog->lamps()[0], true);
    EXPECT_EQ(litLamps(), 1);
    dialog->okButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(cuts, 0);
    EXPECT_EQ(homes(), before);
}

TEST_F(PieceSizeDlgTest, CancelKeepsWhatApplyDidAndDropsTheRest) {
    build(400, 300, 42);
    const std::vector<Rect> classic = homes();
    // Bubbles then Cancel: nothing happens to the puzzle.
    dialog->styleButton(kStyleRound)->click();
    EXPECT_EQ(dialog->lamps()[kStyleRound - 1], true);
    EXPECT_EQ(litLamps(), 1);
    dialog->cancelButton()->click();
    EXPECT_EQ(jig.State.Style, kStyleClassic);
    EXPECT_EQ(homes(), classic);
    EXPECT_EQ(cuts, 0);

    // Bubbles, Apply, then Cancel: the pieces are Bubbles.
    dialog->load(jig.State.Style, jig.State.Oddness, jig.State.ScalePercent);
    dialog->styleButton(kStyleRound)->click();
    dialog->applyButton()->click();
    dialog->cancelButton()->click();
    EXPECT_EQ(jig.State.Style, kStyleRound);
    EXPECT_EQ(cuts, 1);
    EXPECT_NE(homes(), classic);
}

TEST_F(PieceSizeDlgTest, TooSmallCellsSpringBackToTheLastAcceptedScale) {
    build(400, 300, 42);
    ASSERT_EQ(jig.State.Cols, 7);
    ASSERT_EQ(jig.State.Rows, 6);
    dialog->scaleBar()->setValue(60);
    EXPECT_EQ(dialog->scaleLabel()->text(), QStringLiteral("60%"));
    // 10 % gives 5 x 5 pixel cells.
    dialog->scaleBar()->setValue(10);
    EXPECT_EQ(dialog->scaleBar()->value(), 60);
    EXPECT_EQ(dialog->scaleLabel()->text(), QStringLiteral("60%"));
    EXPECT_EQ(cuts, 0);
}

TEST_F(PieceSizeDlgTest, TooLargeCellsAreRefused) {
    // A 2 x 2 cut of 480 x 440: cells of 240 x 220 at 100 %, over 640 at 300 %.
    build(480, 440, 4);
    ASSERT_GT(480 / jig.State.Cols, 213);
    dialog->scaleBar()->setValue(300);
    EXPECT_EQ(dialog->scaleBar()->value(), 100);
    EXPECT_EQ(dialog->scaleLabel()->text(), QStringLiteral("100%"));
    dialog->scaleBar()->setValue(260); // 624 pixels: still usable
    EXPECT_EQ(dialog->scaleBar()->value(), 260);
}

TEST_F(PieceSizeDlgTest, NewStyleKeepsEveryGroupJoinedAndThePuzzleCanBeFinished) {
    build(400, 300, 12);
    // Join pieces 0, 1 and the one below 0 by putting them flush and dropping them.
    const auto cols = std::size_t(jig.State.Cols);
    const auto flushWith = [&](TFormPiece& p, const TFormPiece& anchor) {
        p.Left = anchor.Left + p.HomeX - anchor.HomeX;
        p.Top = anchor.Top + p.HomeY - anchor.HomeY;
    };
    at(0).Left = 500;
    at(0).Top = 400;
    flushWith(at(1), at(0));
    flushWith(at(cols), at(0));
    Rect dirty;
    drop({&at(1), &at(cols)}, dirty);
    ASSERT_EQ(at(1).GroupId, at(0).GroupId);
    ASSERT_EQ(at(cols).GroupId, at(0).GroupId);
    const int solvedBefore = jig.State.SolvedCount;

    dialog->styleButton(kStyleStar)->click();
    dialog->oddnessBar()->setValue(9);
    dialog->okButton()->click();
    ASSERT_EQ(cuts, 1);
    EXPECT_EQ(jig.State.Style, kStyleStar);
    EXPECT_EQ(jig.State.Oddness, 9);

    // Still one group, flush at the new shapes' home offsets.
    EXPECT_EQ(at(1).GroupId, at(0).GroupId);
    EXPECT_EQ(at(cols).GroupId, at(0).GroupId);
    for (const std::size_t i : {std::size_t(1), cols}) {
        EXPECT_EQ(at(i).Left - at(0).Left, at(i).HomeX - at(0).HomeX) << i;
        EXPECT_EQ(at(i).Top - at(0).Top, at(i).HomeY - at(0).HomeY) << i;
    }
    EXPECT_EQ(jig.State.SolvedCount, solvedBefore);

    // Every other piece put flush against the group joins: the puzzle is done.
    PieceList rest;
    for (TFormPiece* p : jig.Pieces) {
        if (p->GroupId != at(0).GroupId) {
            flushWith(*p, at(0));
            rest.push_back(p);
        }
    }
    drop(rest, dirty);
    jig.CheckCompletion();
    EXPECT_EQ(jig.State.SolvedCount, jig.State.PieceCount);
    EXPECT_TRUE(jig.State.Solved);
}

TEST_F(PieceSizeDlgTest, FailedCutsKeepThePuzzlesShape) {
    build(400, 300, 42);
    // A puzzle whose every re-cut fails (as when graphics memory runs out).
    PieceSizeHooks hooks = pieceSizeHooksFor([this]() -> TJigsaw& { return jig; }, nullptr);
    hooks.setScale = [this](int) {
        ++cuts;
        return false;
    };
    TPieceSizeDlg failing(std::move(hooks));
    failing.load(jig.State.Style, jig.State.Oddness, jig.State.ScalePercent);
    failing.styleButton(kStyleMix)->click();
    failing.scaleBar()->setValue(150);
    QStringList messages;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            messages << box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
            box->close();
        }
    });
    answer.start(20);
    EXPECT_FALSE(failing.apply());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().startsWith(QStringLiteral("Insufficient graphics resources")));
    EXPECT_EQ(cuts, 2); // the chosen scale, then 100 %
    EXPECT_EQ(jig.State.Style, kStyleClassic);
    EXPECT_EQ(jig.State.Oddness, 4);
    EXPECT_EQ(failing.lamps()[kStyleClassic - 1], true);
    EXPECT_EQ(failing.scaleBar()->value(), 100);
}

} // namespace
} // namespace zg

// The whole program saves a game at exit and brings it back at the next start:
// a gift made by gift-maker is played with the mouse, rescaled and turned,
// closed with "Save game..." ticked and opened again with "Resume game...".

#include "E2eSupport.h"

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "files/SaveFiles.h"
#include "files/SavedGame.h"
#include "game/TJigsaw.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace zg::test {
namespace {

/// The file image with the clock field cleared: the clock may tick between
/// the save and the look at the resumed game.
std::vector<uint8_t> withoutClock(std::vector<uint8_t> bytes) {
    std::fill_n(bytes.begin() + 4315, 4, uint8_t(0));
    return bytes;
}

TEST(SaveResume, AGameSavedAtExitComesBackWithEveryStoredField) {
    if (!GiftFactory::available()) {
        GTEST_SKIP() << "gift-maker is not available";
    }
    GiftFactory factory;
    const QString gift =
        factory.make(QStringLiteral("save-gift"),
                     {QStringLiteral("--pieces"), QStringLiteral("12"), QStringLiteral("--seed"),
                      QStringLiteral("5"), QStringLiteral("--rotation"), QStringLiteral("on")});
    ASSERT_FALSE(gift.isEmpty());
    const std::string savePath = savedGamePath(gift.toStdString());

    DialogWatcher watcher;
    watcher.saveOnExit = true;
    auto form = std::make_unique<TMainForm>(gift.toStdString());
    form->resize(1000, 760);
    ASSERT_TRUE(startAndWaitForBoard(*form));
    EXPECT_EQ(watcher.resumeBoxes, 0);
    TJigsaw& jig = form->jigsaw();
    BoardDriver mouse(*form);

    // Play: join piece 1 to piece 0, then move piece 5 elsewhere.
    TFormPiece& p0 = *jig.Pieces[0];
    TFormPiece& p1 = *jig.Pieces[1];
    // Pieces start turned: piece 1 is turned like piece 0 first.
    jig.RotateGroup(p1, (p0.Rotation - p1.Rotation) & 3, false);
    const auto grab = mouse.visiblePoint(p1);
    ASSERT_TRUE(grab.has_value());
    const Point fit = p1.positionNextTo(p0);
    mouse.drag(*grab, {grab->X + fit.X - p1.Left, grab->Y + fit.Y - p1.Top});
    ASSERT_EQ(p0.GroupId, p1.GroupId);
    ASSERT_TRUE(p0.Joined);
    TFormPiece& p5 = *jig.Pieces[5];
    const auto grab5 = mouse.visiblePoint(p5);
    ASSERT_TRUE(grab5.has_value());
    mouse.drag(*grab5, {grab5->X + 40, grab5->Y + 30});

    // Rescaled as the piece size dialog does, and a group turned.
    ASSERT_TRUE(jig.Rescale(80));
    jig.SetBoardSize(form->board()->width(), form->board()->height());
    const int32_t turn7 = (jig.Pieces[7]->Rotation + 1) & 3;
    jig.RotateGroup(*jig.Pieces[7], 1, false);
    ASSERT_EQ(jig.Pieces[7]->Rotation, turn7);
    jig.State.ElapsedSeconds = 4321;
    jig.State.CheatCount = 2;
    jig.State.AutoSolved = 1;
    form->actions().Shadows->trigger();
    form->actions().OutlineItems[3]->trigger();
    std::vector<Rect> places;
    for (const TFormPiece* p : jig.Pieces) {
        places.push_back(p->boardRect());
    }

    form->close();
    form.reset();
    EXPECT_EQ(watcher.saveBoxes, 1);
    const auto file = readWholeFile(savePath, 1 << 24);
    ASSERT_TRUE(file.has_value());
    EXPECT_FALSE(std::filesystem::exists(
        SavedGameFiles(gift.toStdString(), "").besideGift(SavedGameFiles::Kind::Recovery)));
    const SavedGame saved = parseSavedGame(*file);
    EXPECT_GE(saved.State.ElapsedSeconds, 4321);
    EXPECT_EQ(saved.State.ScalePercent, 80);

    // Start again and keep the resumed game.
    form = std::make_unique<TMainForm>(gift.toStdString());
    form->resize(1000, 760);
    ASSERT_TRUE(startAndWaitForBoard(*form));
    EXPECT_EQ(watcher.resumeBoxes, 1);
    EXPECT_TRUE(form->resumedAtStart());
    TJigsaw& again = form->jigsaw();
    EXPECT_EQ(withoutClock(encodeSavedGame(again.makeSavedGame())), withoutClock(*file));
    EXPECT_EQ(again.State.ScalePercent, 80);
    EXPECT_EQ(again.State.CheatCount, 2);
    EXPECT_EQ(again.State.AutoSolved, 1);
    EXPECT_EQ(again.Pieces[7]->Rotation, turn7);
    EXPECT_EQ(again.Pieces[0]->GroupId, again.Pieces[1]->GroupId);
    EXPECT_EQ(again.State.SolvedCount, saved.State.SolvedCount);
    EXPECT_GE(again.State.SolvedCount, 2);
    EXPECT_FALSE(again.Config.ShadowsOn);
    EXPECT_FALSE(form->actions().Shadows->isChecked());
    EXPECT_TRUE(form->actions().OutlineItems[3]->isChecked());
    EXPECT_EQ(again.Config.OutlineStyle, 3);
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(again.Pieces[i]->boardRect(), places[i]) << i;
    }

    // Declining the resume removes the save and starts afresh.
    form->close();
    form.reset();
    watcher.resume = false;
    watcher.saveOnExit = false;
    form = std::make_unique<TMainForm>(gift.toStdString());
    form->resize(1000, 760);
    ASSERT_TRUE(startAndWaitForBoard(*form));
    EXPECT_EQ(watcher.resumeBoxes, 2);
    EXPECT_FALSE(std::filesystem::exists(savePath));
    EXPECT_EQ(form->jigsaw().State.ScalePercent, 100);
    EXPECT_EQ(form->jigsaw().State.SolvedCount, 0);
    form->close();
    // Not saving at exit leaves no file either.
    EXPECT_FALSE(std::filesystem::exists(savePath));
}

} // namespace
} // namespace zg::test

// Start-up, the clock tick, music, sound, restart and closing of the main window.

#include "GuiSupport.h"

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "files/GiftInfo.h"
#include "game/TJigsaw.h"
#include "ui/MusicPlayer.h"
#include "ui/SoundPlayer.h"
#include "ui/TSplashForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace zg::test {
namespace {

class MainFormStartup : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GiftMaker::available()) {
            GTEST_SKIP() << "gift-maker is not available";
        }
    }
    QString demoMusic() const { return GiftMaker::assets() + QStringLiteral("/demo/music.mid"); }

    GiftMaker m_maker;
};

TEST_F(MainFormStartup, DamagedTrailerShowsTheMessageAndBuildsNothing) {
    const QString gift = m_maker.make(QStringLiteral("damaged"));
    ASSERT_FALSE(gift.isEmpty());
    const qint64 size = QFileInfo(gift).size();
    // The trailer's first word must read 3421; 3420 marks the file damaged.
    ASSERT_TRUE(patchFile(gift, size - kGiftTrailerSize, QByteArray("\x5c\x0d", 2)));

    ModalWatcher watcher;
    TMainForm form(gift.toStdString());
    form.show();
    EXPECT_TRUE(form.startFailed());
    EXPECT_EQ(watcher.messages, QStringList{"This jigsaw gift file is damaged and cannot be opened"});
    EXPECT_FALSE(form.timer().isActive());
    EXPECT_FALSE(form.isBoardLive());
    EXPECT_EQ(form.jigsaw().GameState, TJigsaw::kNoPuzzle);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(watcher.splashCount, 0);
}

TEST_F(MainFormStartup, UndecodablePictureIsReportedAtTheFirstTickAndEndsTheRun) {
    const QString gift = m_maker.make(QStringLiteral("bad-picture"));
    ASSERT_FALSE(gift.isEmpty());
    QFile file(gift);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    file.seek(file.size() - kGiftTrailerSize);
    const QByteArray trailer = file.read(kGiftTrailerSize);
    file.close();
    const TGiftInfo info = parseGiftInfo(
        std::span(reinterpret_cast<const uint8_t*>(trailer.constData()), std::size_t(trailer.size())));
    // Keep the JPEG's start but wipe its body: the trailer stays valid.
    ASSERT_TRUE(patchFile(gift, info.PictureOffset + 20, QByteArray(int(info.PictureLength) - 40, '\0')));

    ModalWatcher watcher;
    TMainForm form(gift.toStdString());
    bool failedSignal = false;
    QObject::connect(&form, &TMainForm::startupFailed, [&] { failedSignal = true; });
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.startFailed(); }, 20000));
    EXPECT_TRUE(failedSignal);
    EXPECT_EQ(watcher.messages, QStringList{"This jigsaw gift file is damaged and cannot be opened"});
    EXPECT_FALSE(form.isBoardLive());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(form.timer().isActive());
}

TEST_F(MainFormStartup, FirstTickBuildsOnceShowsTheSplashAndRestoresTheCursor) {
    const QString gift = m_maker.make(QStringLiteral("first-tick"));
    ASSERT_FALSE(gift.isEmpty());
    ModalWatcher watcher;
    bool playingDuringSplash = false;
    TMainForm form(gift.toStdString());
    watcher.onSplash = [&](TSplashForm& splash) {
        EXPECT_TRUE(splash.okButton()->isEnabled());
        EXPECT_FALSE(splash.isBoxShown());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        playingDuringSplash = form.jigsaw().IsPlaying();
        // Ticks keep arriving while the splash is modal; none of them may
        // build again (which would show a second splash).
        QTest::qWait(2200);
    };
    form.show();
    EXPECT_EQ(form.timer().interval(), 100);
    ASSERT_TRUE(waitForFirstBuild(form));
    EXPECT_EQ(watcher.splashCount, 1);
    EXPECT_TRUE(playingDuringSplash);
    EXPECT_EQ(form.timer().interval(), 1000);
    EXPECT_EQ(form.jigsaw().pieceCount(), 42);
    EXPECT_EQ(form.jigsaw().GameState, TJigsaw::kPlaying);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.board()->source(), &form.jigsaw().BackBuffer);
    EXPECT_EQ(form.jigsaw().BackBuffer.width(), form.board()->width());
    EXPECT_EQ(form.jigsaw().BackBuffer.height(), form.board()->height());
}

TEST_F(MainFormStartup, StatusPanelsAdvanceWithEachTickWhileTheWindowIsActive) {
    const QString gift = m_maker.make(QStringLiteral("ticks"));
    ASSERT_FALSE(gift.isEmpty());
    ModalWatcher watcher;
    TMainForm form(gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const int32_t before = form.jigsaw().State.ElapsedSeconds;
    QStringList seen;
    for (int i = 0; i < 3; ++i) {
        const QString previous = form.timerStatus()->text();
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.timerStatus()->text() != previous; }, 3000));
        seen << form.timerStatus()->text();
    }
    EXPECT_GE(form.jigsaw().State.ElapsedSeconds, before + 3);
    const QString sep = TMainForm::timeSeparator();
    EXPECT_TRUE(seen.back().startsWith(QStringLiteral("00") + sep + QStringLiteral("00") + sep));
    EXPECT_EQ(form.solvedStatus()->text(), QStringLiteral("Solved 0 of 42"));
}

TEST_F(MainFormStartup, ClockTextIsHoursMinutesSecondsWithTheLocaleSeparator) {
    const QString sep = TMainForm::timeSeparator();
    EXPECT_EQ(TMainForm::clockText(0), QStringLiteral("00") + sep + "00" + sep + "00");
    EXPECT_EQ(TMainForm::clockText(3725), QStringLiteral("01") + sep + "02" + sep + "05");
    EXPECT_EQ(TMainForm::clockText(100 * 3600 + 59), QStringLiteral("100") + sep + "00" + sep + "59");
}

TEST_F(MainFormStartup, GiftWithoutMusicSwitchesMusicOffAndSaysSoWhenAskedForIt) {
    const QString gift = m_maker.make(QStringLiteral("no-music"));
    ASSERT_FALSE(gift.isEmpty());
    ModalWatcher watcher;
    TMainForm form(gift.toStdString());
    form.show();
    EXPECT_FALSE(form.actions().Music->isChecked());
    EXPECT_FALSE(form.speedButton("SpeedMusic")->isChecked());
    EXPECT_TRUE(form.musicFileName().isEmpty());
    ASSERT_TRUE(waitForFirstBuild(form));
    EXPECT_TRUE(watcher.messages.isEmpty());

    form.speedButton("SpeedMusic")->click();
    EXPECT_EQ(watcher.messages, QStringList{"No music was included in this jigsaw gift file."});
    EXPECT_FALSE(form.actions().Music->isChecked());
    EXPECT_FALSE(form.speedButton("SpeedMusic")->isChecked());
}

TEST_F(MainFormStartup, MusicGoesToAPrivateFolderThatLeavesWithTheWindow) {
    const QString gift = m_maker.make(QStringLiteral("music"), {QStringLiteral("--music"), demoMusic()});
    ASSERT_FALSE(gift.isEmpty());
    QString musicFile;
    {
        ModalWatcher watcher;
        TMainForm form(gift.toStdString());
        form.show();
        musicFile = form.musicFileName();
        ASSERT_FALSE(musicFile.isEmpty());
        EXPECT_TRUE(QFileInfo::exists(musicFile));
        EXPECT_NE(QFileInfo(musicFile).absolutePath(), QDir::currentPath());
        EXPECT_TRUE(form.actions().Music->isChecked());
        ASSERT_TRUE(waitForFirstBuild(form));
        form.actions().Music->trigger();
        EXPECT_FALSE(form.speedButton("SpeedMusic")->isChecked());
        form.actions().Music->trigger();
        EXPECT_TRUE(form.speedButton("SpeedMusic")->isChecked());
        EXPECT_TRUE(watcher.messages.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(musicFile));
}

TEST_F(MainFormStartup, SoundOnPlaysTheJoinSoundOnceAndOffIsSilent) {
    const QString gift = m_maker.make(QStringLiteral("sound"));
    ASSERT_FALSE(gift.isEmpty());
    TMainForm form(gift.toStdString());
    SoundPlayer& sounds = *form.sounds();
    if (!sounds.isLoaded(1)) {
        GTEST_SKIP() << "no audio device";
    }
    const int before = sounds.playCount();
    form.speedButton("SpeedSound")->click();
    EXPECT_FALSE(form.actions().Sound->isChecked());
    EXPECT_FALSE(form.jigsaw().Config.SoundOn);
    EXPECT_EQ(sounds.playCount(), before);

    form.actions().Sound->trigger();
    EXPECT_TRUE(form.speedButton("SpeedSound")->isChecked());
    EXPECT_TRUE(form.jigsaw().Config.SoundOn);
    EXPECT_EQ(sounds.playCount(), before + 1);
    EXPECT_EQ(sounds.lastEffect(), 1);
}

TEST_F(MainFormStartup, RestartCancelledKeepsTheGameAndYesBuildsAfresh) {
    const QString gift = m_maker.make(QStringLiteral("restart"));
    ASSERT_FALSE(gift.isEmpty());
    ModalWatcher watcher;
    TMainForm form(gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    form.jigsaw().State.ElapsedSeconds = 77;
    const TJigsaw* first = &form.jigsaw();

    watcher.answer = QMessageBox::Cancel;
    form.actions().Restart->trigger();
    EXPECT_EQ(watcher.messages, QStringList{"This will restart the jigsaw from scratch. Are you sure?"});
    EXPECT_EQ(&form.jigsaw(), first);
    EXPECT_EQ(form.jigsaw().State.ElapsedSeconds, 77);

    watcher.answer = QMessageBox::Yes;
    form.actions().Restart->trigger();
    EXPECT_NE(&form.jigsaw(), first);
    EXPECT_TRUE(form.jigsaw().IsPlaying());
    EXPECT_TRUE(form.isBoardLive());
    EXPECT_EQ(form.jigsaw().State.ElapsedSeconds, 0);
    EXPECT_EQ(form.jigsaw().pieceCount(), 42);
    EXPECT_EQ(form.board()->source(), &form.jigsaw().BackBuffer);
}

TEST_F(MainFormStartup, ClosingShowsTheEndMessageWithSaveGameAndStopsTheTimer) {
    const QString gift = m_maker.make(QStringLiteral("close"),
                                      {QStringLiteral("--end-message"), QStringLiteral("See you soon")});
    ASSERT_FALSE(gift.isEmpty());
    ModalWatcher watcher;
    TMainForm form(gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));

    QString button;
    QString box;
    QString message;
    bool boxChecked = false;
    watcher.onSplash = [&](TSplashForm& splash) {
        button = splash.okButton()->text();
        box = splash.saveResumeBox()->text();
        boxChecked = splash.isBoxChecked() && splash.isBoxShown();
        message = splash.messageText();
    };
    form.actions().FileExit->trigger();
    EXPECT_EQ(button, QStringLiteral("&Close"));
    EXPECT_EQ(box, QStringLiteral("Save game..."));
    EXPECT_TRUE(boxChecked);
    EXPECT_EQ(message, QStringLiteral("See you soon"));
    EXPECT_FALSE(form.timer().isActive());
    EXPECT_FALSE(form.isBoardLive());
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainFormStartup, ClosingBeforeAnyBuildShowsTheGiftTextWithoutVersion) {
    const QString gift = m_maker.make(QStringLiteral("early-close"));
    ASSERT_FALSE(gift.isEmpty());
    ModalWatcher watcher;
    TMainForm form(gift.toStdString());
    form.show();
    QString label;
    watcher.onSplash = [&](TSplashForm& splash) { label = splash.giftText(); };
    form.close();
    EXPECT_EQ(label, splashGiftText(QString()));
    EXPECT_FALSE(form.timer().isActive());
    EXPECT_EQ(form.jigsaw().GameState, TJigsaw::kNoPuzzle);
}

} // namespace
} // namespace zg::test

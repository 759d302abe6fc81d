#include "ui/MusicPlayer.h"
#include "AudioTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

namespace zg {
namespace {

// The music back-end renders MIDI in real time even on the dummy driver, and
// it lets the last note ring out before it reports the end, so one play of
// the one-note test file lasts about three seconds.
constexpr int kPlayTimeoutMs = 20000;

class MusicPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_midi = m_dir.filePath(QStringLiteral("jig1.mid"));
        test::writeShortMidi(m_midi);
    }

    /// Lets queued calls run for `ms` milliseconds.
    static void processEventsFor(int ms) { QTest::qWait(ms); }

    QTemporaryDir m_dir;
    QString m_midi;
};

std::atomic<int> g_peak{0};

void SDLCALL measurePeak(void*, Uint8* stream, int length) {
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    int peak = g_peak.load();
    for (int i = 0; i < length / 2; ++i) {
        peak = std::max(peak, std::abs(int{samples[i]}));
    }
    g_peak = peak;
}

TEST_F(MusicPlayerTest, MidiIsRenderedWithAnAudibleSoundFont) {
    MusicPlayer music;
    music.setFileName(m_midi);
    g_peak = 0;
    Mix_SetPostMix(measurePeak, nullptr);
    ASSERT_EQ(music.start(), MusicPlayer::StartResult::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(g_peak.load() > 1000, kPlayTimeoutMs);
    music.stop();
    Mix_SetPostMix(nullptr, nullptr);
    EXPECT_GT(g_peak.load(), 1000) << "MIDI played as silence: no General MIDI soundfont found";
}

TEST_F(MusicPlayerTest, EndOfPlayArrivesOnTheGuiThreadAndRestartsTheMusic) {
    MusicPlayer music;
    music.setFileName(m_midi);
    QThread* finishedOn = nullptr;
    int finishedCount = 0;
    QObject::connect(&music, &MusicPlayer::playFinished, [&] {
        finishedOn = QThread::currentThread();
        ++finishedCount;
    });
    ASSERT_EQ(music.start(), MusicPlayer::StartResult::Playing);

    QTRY_VERIFY_WITH_TIMEOUT(music.playsStarted() >= 2, kPlayTimeoutMs);
    EXPECT_GE(finishedCount, 1);
    EXPECT_EQ(finishedOn, QCoreApplication::instance()->thread());
    EXPECT_TRUE(music.isPlaying());
    EXPECT_EQ(Mix_PlayingMusic(), 1) << "the music must be playing again from the start";
}

TEST_F(MusicPlayerTest, StoppedMusicDoesNotStartAgain) {
    MusicPlayer music;
    music.setFileName(m_midi);
    int finishedCount = 0;
    QObject::connect(&music, &MusicPlayer::playFinished, [&] { ++finishedCount; });
    ASSERT_EQ(music.start(), MusicPlayer::StartResult::Playing);
    processEventsFor(200);
    music.stop();
    processEventsFor(500);

    EXPECT_FALSE(music.isPlaying());
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(music.playsStarted(), 1);
    EXPECT_EQ(finishedCount, 0) << "our own halt is not the end of a play";
}

TEST_F(MusicPlayerTest, StopAfterAnEndWasReportedWinsOverTheRestart) {
    MusicPlayer music;
    music.setFileName(m_midi);
    ASSERT_EQ(music.start(), MusicPlayer::StartResult::Playing);
    // Wait without running queued calls until the mixer has finished the play,
    // so its end report is waiting in the queue when we stop.
    for (int waited = 0; Mix_PlayingMusic() != 0 && waited < kPlayTimeoutMs; waited += 10) {
        QThread::msleep(10);
    }
    ASSERT_EQ(Mix_PlayingMusic(), 0);
    music.stop();
    processEventsFor(300);

    EXPECT_EQ(music.playsStarted(), 1);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(MusicPlayerTest, StartingAgainRestartsFromTheBeginningWithoutAnExtraLoop) {
    MusicPlayer music;
    music.setFileName(m_midi);
    ASSERT_EQ(music.start(), MusicPlayer::StartResult::Playing);
    ASSERT_EQ(music.start(), MusicPlayer::StartResult::Playing);
    processEventsFor(300);
    // The first play was replaced, not ended: it must not add a restart.
    EXPECT_EQ(music.playsStarted(), 2);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
}

TEST_F(MusicPlayerTest, WithoutAMusicFileStartReportsNoMusic) {
    MusicPlayer music;
    EXPECT_EQ(music.start(), MusicPlayer::StartResult::NoMusic);
    music.setFileName(m_dir.filePath(QStringLiteral("missing.mid")));
    EXPECT_EQ(music.start(), MusicPlayer::StartResult::NoMusic);
    EXPECT_FALSE(music.isPlaying());
    EXPECT_STREQ(MusicPlayer::kNoMusicText, "No music was included in this jigsaw gift file.");
}

TEST_F(MusicPlayerTest, DamagedMusicFileIsNotRestartedOverAndOver) {
    const QString damaged = m_dir.filePath(QStringLiteral("damaged.mid"));
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    const QByteArray header("MThd\x00\x00\x00\x06", 8);
    out.write(header + QByteArray("garbage that is no MIDI track"));
    out.close();

    MusicPlayer music;
    music.setFileName(damaged);
    const MusicPlayer::StartResult result = music.start();
    EXPECT_NE(result, MusicPlayer::StartResult::NoMusic) << "the file is there";
    processEventsFor(1500);

    EXPECT_LE(music.playsStarted(), 1);
    EXPECT_FALSE(music.isPlaying());
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(MusicPlayerTest, WithoutAnAudioDeviceMusicIsSilentNotAnError) {
    const test::ScopedEnv noDriver("SDL_AUDIODRIVER", "no-such-driver");
    MusicPlayer music;
    music.setFileName(m_midi);
    EXPECT_EQ(music.start(), MusicPlayer::StartResult::Silent);
    EXPECT_FALSE(music.isPlaying());
    music.stop();
}

} // namespace
} // namespace zg

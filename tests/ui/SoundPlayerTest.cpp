#include "ui/SoundPlayer.h"
#include "AudioTestSupport.h"

#include <SDL_mixer.h>

#include <gtest/gtest.h>

namespace zg {
namespace {

// The tests run on SDL's dummy audio driver: the mixer really opens and plays
// in real time, it is just not heard. Effects 2 (3.7 s) and 3 (2.2 s) are long
// enough to be still sounding when a test looks.

TEST(SoundEffects, AllFiveEffectsLoadOnTheDummyDevice) {
    SoundPlayer sound;
    ASSERT_TRUE(sound.isAvailable());
    for (int effect = 1; effect <= SoundPlayer::kEffectCount; ++effect) {
        EXPECT_TRUE(sound.isLoaded(effect)) << "effect " << effect;
    }
}

TEST(SoundEffects, NewEffectCutsTheOnePlaying) {
    SoundPlayer sound;
    ASSERT_TRUE(sound.isAvailable());
    sound.play(2);
    ASSERT_EQ(sound.playingEffect(), 2);
    sound.play(3);
    EXPECT_EQ(sound.playingEffect(), 3);
    EXPECT_EQ(Mix_Playing(-1), 1) << "only one effect may sound at a time";
    EXPECT_EQ(sound.playCount(), 2);
}

TEST(SoundEffects, SoundOffPlaysNothing) {
    SoundPlayer sound;
    ASSERT_TRUE(sound.isAvailable());
    sound.setSoundOn(false);
    sound.play(2);
    EXPECT_EQ(sound.playingEffect(), 0);
    EXPECT_EQ(sound.playCount(), 0);
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST(SoundEffects, SwitchingSoundOnPlaysEffectOne) {
    SoundPlayer sound;
    ASSERT_TRUE(sound.isAvailable());
    sound.setSoundOn(false);
    sound.setSoundOn(true);
    EXPECT_EQ(sound.lastEffect(), 1);
    EXPECT_EQ(sound.playCount(), 1);
    sound.setSoundOn(true); // already on: no second click
    EXPECT_EQ(sound.playCount(), 1);
}

TEST(SoundEffects, StopSilencesTheChannel) {
    SoundPlayer sound;
    ASSERT_TRUE(sound.isAvailable());
    sound.play(2);
    sound.stop();
    EXPECT_EQ(sound.playingEffect(), 0);
}

TEST(SoundEffects, EffectNumbersOutsideOneToFiveAreIgnored) {
    SoundPlayer sound;
    ASSERT_TRUE(sound.isAvailable());
    sound.play(2);
    sound.play(0);
    sound.play(6);
    sound.play(-1);
    EXPECT_EQ(sound.playingEffect(), 2) << "an ignored number must not cut the effect playing";
    EXPECT_EQ(sound.playCount(), 1);
}

TEST(SoundEffects, WithoutAnAudioDeviceEverythingIsSilentAndNothingFails) {
    const test::ScopedEnv noDriver("SDL_AUDIODRIVER", "no-such-driver");
    SoundPlayer sound;
    EXPECT_FALSE(sound.isAvailable());
    EXPECT_FALSE(sound.isLoaded(1));
    sound.play(2);
    sound.setSoundOn(false);
    sound.setSoundOn(true);
    sound.stop();
    EXPECT_EQ(sound.playCount(), 0);
    EXPECT_EQ(sound.playingEffect(), 0);
}

TEST(SoundEffects, TheDeviceOpensAgainAfterBeingWithout) {
    {
        const test::ScopedEnv noDriver("SDL_AUDIODRIVER", "no-such-driver");
        SoundPlayer silent;
        ASSERT_FALSE(silent.isAvailable());
    }
    SoundPlayer sound;
    EXPECT_TRUE(sound.isAvailable());
}

} // namespace
} // namespace zg

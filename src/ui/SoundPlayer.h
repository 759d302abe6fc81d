#pragma once

#include <array>
#include <memory>

struct Mix_Chunk;

namespace zg {

class SoundDevice;

/// The five sound effects embedded as WAVE1..WAVE5 (type "WAVDATA"), played
/// on one mixer channel without blocking: a new effect cuts off the one still
/// playing.
///
/// Effect n plays embedded sound n. A missing or unreadable resource leaves
/// its effect silent, and without an audio device every effect is silent;
/// neither is reported. Use from the GUI thread only.
class SoundPlayer {
public:
    static constexpr int kEffectCount = 5;

    /// Opens (or shares) the audio device and loads the five effects once.
    SoundPlayer();
    /// Stops the effect still playing and releases the effects.
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    /// The Sound option. Off makes play() do nothing; switching it from off
    /// to on plays effect 1 at once, so the user hears that it took effect.
    /// Starts on.
    void setSoundOn(bool on);
    bool soundOn() const { return m_soundOn; }

    /// Plays effect `effect` (1..kEffectCount) from the start, cutting off
    /// any effect still playing. Does nothing when sound is off, the number
    /// is out of range, the effect did not load or there is no audio device.
    void play(int effect);

    /// Silences the effect channel.
    void stop();

    /// True when an audio device is open.
    bool isAvailable() const;
    /// True when effect `effect` (1..kEffectCount) was loaded.
    bool isLoaded(int effect) const;

    /// The effect the channel is sounding right now, or 0 when it is quiet.
    int playingEffect() const;
    /// The effect play() last started, or 0 when none has started.
    int lastEffect() const { return m_lastEffect; }
    /// How many effects play() has started.
    int playCount() const { return m_playCount; }

private:
    std::shared_ptr<SoundDevice> m_device;
    std::array<Mix_Chunk*, kEffectCount> m_chunks{};
    bool m_soundOn = true;
    int m_lastEffect = 0;
    int m_playCount = 0;
};

} // namespace zg

#pragma once

#include <memory>

namespace zg {

/// The process's audio output, shared by the sound effects and the music.
///
/// Opening it initialises only SDL's audio subsystem (with SDL's signal
/// handlers switched off, so Qt keeps control of SIGINT and SIGTERM) and opens
/// the mixer with a single effect channel. It also makes sure MIDI music has a
/// General MIDI soundfont (see SoundDevice.cpp). When no audio device can be
/// opened the object still exists and isOpen() is false: the program plays
/// nothing and reports nothing.
///
/// Use from the GUI thread only.
class SoundDevice {
public:
    /// The mixer channel every effect plays on; a new effect cuts the old.
    static constexpr int kEffectChannel = 0;

    /// The shared device, opened on first use and closed when the last
    /// holder lets go. Never throws for want of audio hardware.
    static std::shared_ptr<SoundDevice> acquire();

    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    /// True when the mixer is open and sounds can be played.
    bool isOpen() const { return m_open; }

private:
    SoundDevice();

    bool m_sdlStarted = false;
    bool m_open = false;
};

} // namespace zg

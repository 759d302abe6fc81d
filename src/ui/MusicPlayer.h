#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>

struct _Mix_Music;

namespace zg {

class SoundDevice;

/// Background music: plays the gift's extracted MIDI file and starts it again
/// from the beginning each time it ends, until stop().
///
/// The mixer reports the end of a play on its audio thread; the report is
/// passed to this object's thread as a queued call, and only the end of the
/// current play restarts the music: a play halted by stop() or replaced by a
/// new start() never does.
///
/// A file the back-end cannot play (it ends at once) is not restarted:
/// isPlaying() turns false and nothing is reported, as without a device.
///
/// Only one MusicPlayer may exist at a time (the mixer has one end-of-music
/// hook). Use from the GUI thread only.
class MusicPlayer : public QObject {
    Q_OBJECT

public:
    /// What start() did.
    enum class StartResult {
        Playing, ///< the music is playing
        NoMusic, ///< there is no music file: the caller shows kNoMusicText and switches the Music option off
        Silent,  ///< the file exists but cannot be heard (no audio device, or not a playable file); not an
                 ///< error
    };

    /// The information message for music switched on without a music file.
    static constexpr const char* kNoMusicText = "No music was included in this jigsaw gift file.";

    explicit MusicPlayer(QObject* parent = nullptr);
    /// Stops the music and lets go of the mixer's end-of-music hook.
    ~MusicPlayer() override;

    /// The music file to play; empty when the gift has no music. It is read
    /// at every start().
    void setFileName(const QString& fileName);
    const QString& fileName() const { return m_fileName; }

    /// Plays the music file from the beginning, looping, as when the Music
    /// option is switched on or a game starts. See StartResult.
    StartResult start();

    /// Stops the music; it does not start again by itself. Safe to call when
    /// nothing plays.
    void stop();

    /// True between a start() that returned Playing and the next stop(), unless
    /// the file turned out not to play.
    bool isPlaying() const { return m_wanted; }

    /// How many plays have begun: start() and every restart after an end.
    int playsStarted() const { return m_playsStarted; }

signals:
    /// A play ran to its end (emitted on this object's thread, just before the
    /// music starts again).
    void playFinished();

private:
    void onPlayFinished(uint64_t play);
    bool playFromStart();
    void releaseMusic();
    static void musicFinishedHook();

    std::shared_ptr<SoundDevice> m_device;
    QString m_fileName;
    _Mix_Music* m_music = nullptr;
    uint64_t m_play = 0; ///< number of the current play; 0 when none
    uint64_t m_nextPlay = 1;
    std::chrono::steady_clock::time_point m_playStartedAt;
    bool m_wanted = false;
    int m_playsStarted = 0;
};

} // namespace zg

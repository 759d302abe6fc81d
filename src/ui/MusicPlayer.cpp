#include "ui/MusicPlayer.h"

#include "ui/SoundDevice.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <chrono>

namespace zg {

namespace {

/// The player that owns the mixer's end-of-music hook.
std::atomic<MusicPlayer*> g_hookOwner{nullptr};
/// The number of the play the mixer is sounding, or 0 when we halted it.
/// Set on the GUI thread before a play starts; taken by the hook.
std::atomic<uint64_t> g_soundingPlay{0};

/// A play that ends sooner than this did not really play: the MIDI back-end
/// ends a file it cannot parse at once (it lets even an empty song ring for
/// about two seconds). Such an end is a failure and does not restart the
/// music, which would otherwise start again dozens of times a second.
constexpr auto kShortestPlay = std::chrono::milliseconds(500);

/// Opens `fileName` as music. A ".mid" file is read as MIDI only, so a damaged
/// payload is never handed to another decoder.
Mix_Music* loadMusic(const QString& fileName) {
    SDL_RWops* stream = SDL_RWFromFile(QFile::encodeName(fileName).constData(), "rb");
    if (stream == nullptr) {
        return nullptr;
    }
    if (QFileInfo(fileName).suffix().compare(QLatin1String("mid"), Qt::CaseInsensitive) == 0) {
        return Mix_LoadMUSType_RW(stream, MUS_MID, 1);
    }
    return Mix_LoadMUS_RW(stream, 1);
}

} // namespace

MusicPlayer::MusicPlayer(QObject* parent) : QObject(parent), m_device(SoundDevice::acquire()) {
    if (m_device->isOpen()) {
        g_hookOwner = this;
        Mix_HookMusicFinished(&MusicPlayer::musicFinishedHook);
    }
}

MusicPlayer::~MusicPlayer() {
    stop();
    if (m_device->isOpen() && g_hookOwner == this) {
        // Taking the hook away waits for the mixer's lock, so no hook call can
        // still be running against this object afterwards.
        Mix_HookMusicFinished(nullptr);
        g_hookOwner = nullptr;
    }
    releaseMusic();
}

void MusicPlayer::setFileName(const QString& fileName) {
    m_fileName = fileName;
}

MusicPlayer::StartResult MusicPlayer::start() {
    stop();
    if (m_fileName.isEmpty() || !QFileInfo(m_fileName).isFile()) {
        return StartResult::NoMusic;
    }
    if (!m_device->isOpen()) {
        return StartResult::Silent;
    }
    // Read the file afresh on every start: it may have been written again.
    releaseMusic();
    m_music = loadMusic(m_fileName);
    if (m_music == nullptr) {
        return StartResult::Silent;
    }
    m_wanted = true;
    if (!playFromStart()) {
        m_wanted = false;
        return StartResult::Silent;
    }
    return StartResult::Playing;
}

void MusicPlayer::stop() {
    m_wanted = false;
    m_play = 0;
    if (!m_device->isOpen()) {
        return;
    }
    // Forget the play before halting: the mixer calls the hook from
    // Mix_HaltMusic too, and that call must not count as an end. An end that
    // the audio thread reported just before is dropped by onPlayFinished().
    g_soundingPlay = 0;
    Mix_HaltMusic();
}

bool MusicPlayer::playFromStart() {
    // No earlier play can still be sounding here (stop() halted it, or it has
    // ended), so the hook can only report the end of this one.
    m_play = m_nextPlay++;
    g_soundingPlay = m_play;
    if (Mix_PlayMusic(m_music, 0) != 0) {
        g_soundingPlay = 0;
        m_play = 0;
        return false;
    }
    ++m_playsStarted;
    m_playStartedAt = std::chrono::steady_clock::now();
    return true;
}

void MusicPlayer::onPlayFinished(uint64_t play) {
    if (!m_wanted || play != m_play) {
        return; // stopped or started afresh since this play ended
    }
    if (std::chrono::steady_clock::now() - m_playStartedAt < kShortestPlay) {
        m_wanted = false; // the file did not play: stay silent rather than retry
        m_play = 0;
        return;
    }
    emit playFinished();
    if (m_wanted && play == m_play && !playFromStart()) {
        m_wanted = false;
    }
}

void MusicPlayer::releaseMusic() {
    if (m_music != nullptr) {
        Mix_FreeMusic(m_music);
        m_music = nullptr;
    }
}

void MusicPlayer::musicFinishedHook() {
    // Runs on the mixer's audio thread (or inside Mix_HaltMusic), with the
    // mixer locked: hand the end over to the player's own thread.
    const uint64_t play = g_soundingPlay.exchange(0);
    MusicPlayer* owner = g_hookOwner.load();
    if (play == 0 || owner == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(
        owner, [owner, play] { owner->onPlayFinished(play); }, Qt::QueuedConnection);
}

} // namespace zg

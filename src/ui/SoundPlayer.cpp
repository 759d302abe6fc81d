#include "ui/SoundPlayer.h"

#include "gfx/Resources.h"
#include "ui/SoundDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <span>
#include <string>

namespace zg {

namespace {

/// The effect's wave data decoded into the device's format, or null when the
/// resource is missing or not a wave the mixer can read.
Mix_Chunk* loadEffect(int effect) {
    std::span<const uint8_t> bytes;
    try {
        bytes = loadResource("WAVE" + std::to_string(effect), "WAVDATA");
    } catch (const ResourceError&) {
        return nullptr;
    }
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
        return nullptr;
    }
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (stream == nullptr) {
        return nullptr;
    }
    return Mix_LoadWAV_RW(stream, 1);
}

} // namespace

SoundPlayer::SoundPlayer() : m_device(SoundDevice::acquire()) {
    if (!m_device->isOpen()) {
        return;
    }
    for (int i = 0; i < kEffectCount; ++i) {
        m_chunks[i] = loadEffect(i + 1);
    }
}

SoundPlayer::~SoundPlayer() {
    stop();
    for (Mix_Chunk*& chunk : m_chunks) {
        if (chunk != nullptr) {
            Mix_FreeChunk(chunk);
            chunk = nullptr;
        }
    }
}

void SoundPlayer::setSoundOn(bool on) {
    const bool switchedOn = on && !m_soundOn;
    m_soundOn = on;
    if (switchedOn) {
        play(1);
    }
}

void SoundPlayer::play(int effect) {
    if (!m_soundOn || !isLoaded(effect)) {
        return;
    }
    Mix_HaltChannel(SoundDevice::kEffectChannel);
    if (Mix_PlayChannel(SoundDevice::kEffectChannel, m_chunks[effect - 1], 0) < 0) {
        return;
    }
    m_lastEffect = effect;
    ++m_playCount;
}

void SoundPlayer::stop() {
    if (isAvailable()) {
        Mix_HaltChannel(SoundDevice::kEffectChannel);
    }
}

bool SoundPlayer::isAvailable() const {
    return m_device->isOpen();
}

bool SoundPlayer::isLoaded(int effect) const {
    return effect >= 1 && effect <= kEffectCount && m_chunks[effect - 1] != nullptr;
}

int SoundPlayer::playingEffect() const {
    if (!isAvailable() || Mix_Playing(SoundDevice::kEffectChannel) == 0) {
        return 0;
    }
    const Mix_Chunk* current = Mix_GetChunk(SoundDevice::kEffectChannel);
    for (int i = 0; i < kEffectCount; ++i) {
        if (current != nullptr && current == m_chunks[i]) {
            return i + 1;
        }
    }
    return 0;
}

} // namespace zg

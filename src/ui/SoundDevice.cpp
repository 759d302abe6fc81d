#include "ui/SoundDevice.h"

#include "files/GiftPath.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace zg {

namespace {

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kChunkSize = 1024;

/// General MIDI soundfonts in the order we prefer them. The first is the
/// alternatives link that Debian's SDL2_mixer already uses by default; the
/// others are where Debian's soundfont packages put their files.
constexpr std::array kSoundFontCandidates{
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

/// True when some entry of a ';'-separated soundfont list names an existing file.
bool anySoundFontExists(std::string_view list) {
    while (!list.empty()) {
        const std::size_t cut = list.find(';');
        if (fileExists(std::string(list.substr(0, cut)))) {
            return true;
        }
        list = cut == std::string_view::npos ? std::string_view{} : list.substr(cut + 1);
    }
    return false;
}

/// MIDI music is rendered by SDL_mixer's FluidSynth back-end, which needs a
/// General MIDI soundfont. Debian's SDL2_mixer 2.6 already asks for
/// /usr/share/sounds/sf3/default-GM.sf3, an alternatives link that the
/// timgm6mb-soundfont package points at TimGM6mb.sf2, and prefers it to
/// SDL_SOUNDFONTS unless SDL_FORCE_SOUNDFONTS=1 is set too. When the soundfonts
/// the mixer would use do not exist, we name the first one we can find.
/// A portable gift's bundled soundfont comes before the system's.
/// SDL_mixer's built-in Timidity back-end is not relied on: it needs GUS
/// patches and a timidity.cfg, which Debian does not install by default.
void ensureSoundFont() {
    if (const char* current = Mix_GetSoundFonts(); current != nullptr && anySoundFontExists(current)) {
        return;
    }
    // A portable gift brings its own.
    if (const std::string bundled =
            bundleDirectory().empty() ? "" : bundleDirectory() + "/share/soundfont.sf2";
        fileExists(bundled)) {
        Mix_SetSoundFonts(bundled.c_str());
        return;
    }
    for (const char* candidate : kSoundFontCandidates) {
        if (fileExists(candidate)) {
            Mix_SetSoundFonts(candidate);
            return;
        }
    }
}

std::weak_ptr<SoundDevice>& sharedDevice() {
    static std::weak_ptr<SoundDevice> device;
    return device;
}

} // namespace

std::shared_ptr<SoundDevice> SoundDevice::acquire() {
    std::shared_ptr<SoundDevice> device = sharedDevice().lock();
    if (!device) {
        device.reset(new SoundDevice());
        sharedDevice() = device;
    }
    return device;
}

SoundDevice::SoundDevice() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return;
    }
    m_sdlStarted = true;
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, kOutputChannels, kChunkSize) != 0) {
        return;
    }
    m_open = true;
    Mix_AllocateChannels(kEffectChannel + 1);
    ensureSoundFont();
}

SoundDevice::~SoundDevice() {
    if (m_open) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        Mix_CloseAudio();
    }
    if (m_sdlStarted) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

} // namespace zg

// The SDL backend's MIDI sequencer on SDL_mixer's music channel, played by
// FluidSynth with the system's General MIDI soundfont. One piece is open
// at a time. Its natural end posts the completion notice from the mixer's
// thread; a piece halted by a stop or a close posts nothing.
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_internal.h"

namespace platform {

namespace {

// Debian's default General MIDI soundfont, then the one it usually points
// to. SDL_SOUNDFONTS in the environment wins over both.
constexpr const char* SoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"};

struct MusicState {
    Mix_Music* music = nullptr;
    uint32_t openId = 0;
    uint32_t lastId = 0;
    bool hooked = false;
    // The device id whose natural end is to be told, 0 for none. The
    // mixer's thread reads and clears it; the game's thread sets it.
    std::atomic<uint32_t> notifyId{0};
};

MusicState& M() {
    static MusicState state;
    return state;
}

// Called by the mixer when the music stops: on its thread at a natural
// end, on the caller's thread inside a halt (by then notifyId is 0).
void MusicFinished() {
    const uint32_t id = M().notifyId.exchange(0);
    if (id != 0) sdl::PostMessageFromAnyThread(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<intptr_t>(id));
}

void ChooseSoundFont() {
    const char* fromEnvironment = std::getenv("SDL_SOUNDFONTS");
    if (fromEnvironment && *fromEnvironment) return;
    for (const char* path : SoundFonts) {
        if (std::FILE* file = std::fopen(path, "rb")) {
            std::fclose(file);
            Mix_SetSoundFonts(path);
            return;
        }
    }
}

// Halts the open piece without a completion notice: the notice is
// withdrawn before the halt, which calls the finished hook itself.
void HaltQuietly() {
    M().notifyId.store(0);
    Mix_HaltMusic();
}

void FreeOpenPiece() {
    MusicState& m = M();
    if (!m.music) return;
    HaltQuietly();
    Mix_FreeMusic(m.music);
    m.music = nullptr;
    m.openId = 0;
}

}  // namespace

namespace sdl {

void CloseMusicForMixer() { FreeOpenPiece(); }

}  // namespace sdl

uint32_t OpenMusic(const char* fileName) {
    MusicState& m = M();
    if (!sdl::MixerIsOpen()) return 0;
    std::FILE* file = OpenDataFile(fileName);
    if (!file) return 0;
    SDL_RWops* stream = SDL_RWFromFP(file, SDL_TRUE);
    if (!stream) {
        std::fclose(file);
        return 0;
    }
    FreeOpenPiece();
    Mix_Init(MIX_INIT_MID);
    ChooseSoundFont();
    Mix_Music* music = Mix_LoadMUS_RW(stream, 1);
    if (!music) {
        std::fprintf(stderr, "Tessaline: %s cannot be played: %s\n", fileName, Mix_GetError());
        return 0;
    }
    if (!m.hooked) {
        Mix_HookMusicFinished(MusicFinished);
        m.hooked = true;
    }
    m.music = music;
    m.openId = ++m.lastId;
    return m.openId;
}

bool PlayMusic(uint32_t deviceId, Window* notify) {
    MusicState& m = M();
    if (deviceId == 0 || deviceId != m.openId || !sdl::MixerIsOpen()) return false;
    // Nothing is playing when the notice is set, so the notice can only
    // come from this play's end, however short the piece.
    HaltQuietly();
    if (notify) m.notifyId.store(deviceId);
    if (Mix_PlayMusic(m.music, 1) != 0) {
        m.notifyId.store(0);
        return false;
    }
    return true;
}

bool StopMusic(uint32_t deviceId) {
    MusicState& m = M();
    if (deviceId == 0 || deviceId != m.openId) return false;
    HaltQuietly();
    return true;
}

bool CloseMusic(uint32_t deviceId) {
    MusicState& m = M();
    if (deviceId == 0 || deviceId != m.openId) return false;
    FreeOpenPiece();
    return true;
}

}  // namespace platform

// The SDL backend's MIDI sequencer on SDL_mixer's music channel, played by
// FluidSynth with the system's General MIDI soundfont. One piece is open
// at a time.
//
// The completion notice comes when the piece has played for as long as it
// is written: the mixer's post-mix step counts the frames since the play
// began. (FluidSynth's own end comes seconds later, once every voice has
// died away, which would leave a gap before the game plays the piece
// again.) A piece whose length cannot be read is told at FluidSynth's end.
// Either way, one notice per play, from the mixer's thread, and none for a
// piece halted by a stop or a close.
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_internal.h"

namespace platform {

namespace {

// Debian's default General MIDI soundfont, then the one it usually points
// to. SDL_SOUNDFONTS in the environment wins over both.
constexpr const char* SoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"};

// The band's level in the 8-bit output, of MIX_MAX_VOLUME. At 20 its
// loudest beat peaks at a third of full scale and its body sits near 30 dB
// below full scale; the effects, played at full volume, are levelled by
// the data maker to stand above it and to leave the rest of the headroom.
// (At half volume the band alone touched full scale on its loudest beat.)
// No limiter follows the mix: SDL_mixer adds every channel into the 8-bit
// output with saturation, so a post-mix step would only ever see samples
// already cut off. The headroom is left before the sum instead.
constexpr int MusicVolume = 20;

struct MusicState {
    Mix_Music* music = nullptr;
    std::vector<uint8_t> file;  // the piece's bytes, which the player reads
    uint32_t openId = 0;
    uint32_t lastId = 0;
    bool hooked = false;
    // The device id whose end is to be told, 0 for none. The mixer's
    // thread takes it; the game's thread sets and withdraws it.
    std::atomic<uint32_t> notifyId{0};
    std::atomic<uint64_t> framesPlayed{0};
    std::atomic<uint64_t> framesWritten{0};  // the piece's written length, 0 if unknown
    int bytesPerFrame = 2;
};

MusicState& M() {
    static MusicState state;
    return state;
}

void Tell() {
    const uint32_t id = M().notifyId.exchange(0);
    if (id != 0) sdl::PostMessageFromAnyThread(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<intptr_t>(id));
}

// The mixer calls this on its thread when the music stops: at FluidSynth's
// end, or inside a halt (by then the notice has been withdrawn).
void MusicFinished() { Tell(); }

// After each block the mixer has made: the written end of the piece.
void CountFrames(void*, Uint8*, int length) {
    MusicState& m = M();
    if (m.notifyId.load() == 0) return;
    const uint64_t written = m.framesWritten.load();
    const uint64_t played = m.framesPlayed.fetch_add(static_cast<uint64_t>(length / m.bytesPerFrame)) +
                            static_cast<uint64_t>(length / m.bytesPerFrame);
    if (written != 0 && played >= written) Tell();
}

void ChooseSoundFont() {
    // SDL_mixer tries its built-in Timidity before FluidSynth; pointed at
    // no configuration, Timidity steps aside.
    Mix_SetTimidityCfg("/nonexistent/tessaline-uses-fluidsynth.cfg");
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
    m.file.clear();
    m.openId = 0;
}

}  // namespace

namespace sdl {

void CloseMusicForMixer() {
    FreeOpenPiece();
    Mix_SetPostMix(nullptr, nullptr);
    M().hooked = false;
}

}  // namespace sdl

uint32_t OpenMusic(const char* fileName) {
    MusicState& m = M();
    sdl::NoteMusic("open", fileName);
    if (!sdl::MixerIsOpen()) return 0;
    std::vector<uint8_t> bytes;
    if (!ReadDataFile(fileName, bytes) || bytes.empty()) return 0;
    FreeOpenPiece();
    Mix_Init(MIX_INIT_MID);
    ChooseSoundFont();
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    Mix_Music* music = stream ? Mix_LoadMUS_RW(stream, 1) : nullptr;
    if (!music) {
        std::fprintf(stderr, "Tessaline: %s cannot be played: %s\n", fileName, Mix_GetError());
        return 0;
    }
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    m.bytesPerFrame = static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8) * (channels > 0 ? channels : 1);
    if (m.bytesPerFrame <= 0) m.bytesPerFrame = 1;
    m.framesWritten.store(sdl::MidiFileMicroseconds(bytes.data(), bytes.size()) * static_cast<uint64_t>(rate) /
                          1000000u);
    if (!m.hooked) {
        Mix_HookMusicFinished(MusicFinished);
        Mix_SetPostMix(CountFrames, nullptr);
        m.hooked = true;
    }
    Mix_VolumeMusic(MusicVolume);
    m.music = music;
    m.file.swap(bytes);
    m.openId = ++m.lastId;
    return m.openId;
}

bool PlayMusic(uint32_t deviceId, Window* notify) {
    MusicState& m = M();
    sdl::NoteMusic("play", nullptr);
    if (deviceId == 0 || deviceId != m.openId || !sdl::MixerIsOpen()) return false;
    // Nothing is playing when the notice is set, so the notice can only
    // come from this play's end, however short the piece.
    HaltQuietly();
    m.framesPlayed.store(0);
    if (notify) m.notifyId.store(deviceId);
    if (Mix_PlayMusic(m.music, 1) != 0) {
        m.notifyId.store(0);
        return false;
    }
    return true;
}

bool StopMusic(uint32_t deviceId) {
    MusicState& m = M();
    sdl::NoteMusic("stop", nullptr);
    if (deviceId == 0 || deviceId != m.openId) return false;
    HaltQuietly();
    return true;
}

bool CloseMusic(uint32_t deviceId) {
    MusicState& m = M();
    sdl::NoteMusic("close", nullptr);
    if (deviceId == 0 || deviceId != m.openId) return false;
    FreeOpenPiece();
    return true;
}

}  // namespace platform

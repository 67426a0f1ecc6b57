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
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/shared/frame_report.h"

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

// How the game's thread, the loader and the mixer's thread share the music.
// The loader takes `lock` only to begin and to hand over what it loaded;
// the mixer's thread never takes it (a halt or a play holds the mixer's
// lock inside ours, so the other order would deadlock) and reads only the
// atomics.
struct MusicState {
    // The game's thread alone. The loader reads `file` while it loads; the
    // game's thread changes it only once the loader has been joined.
    std::vector<uint8_t> file;  // the piece's bytes, which the player reads
    uint32_t openId = 0;
    uint32_t lastId = 0;
    bool hooked = false;
    // An SDL thread: SDL frees the error text it keeps for each thread
    // only for its own threads, and a failed load sets one.
    SDL_Thread* loader = nullptr;

    // Under `lock`.
    std::mutex lock;
    std::condition_variable frameShown;  // wakes a load held for frames (or cancelled)
    Mix_Music* music = nullptr;          // the open piece, once loaded
    bool loading = false;                // the loader has not handed over yet
    bool cancelled = false;              // the piece was closed while it loaded
    bool playWanted = false;             // played before it was loaded: starts once it is
    bool notifyWanted = false;           // and its end is to be told
    uint64_t framesShown = 0;

    // With the mixer's thread.
    // The device id whose end is to be told, 0 for none. The mixer's
    // thread takes it; the game's thread (or the loader, starting a play
    // asked for earlier) sets and withdraws it.
    std::atomic<uint32_t> notifyId{0};
    std::atomic<uint64_t> framesPlayed{0};
    std::atomic<uint64_t> framesWritten{0};  // the piece's written length, 0 if unknown
    std::atomic<int> bytesPerFrame{2};

    // Cancels a load under way (and any play waiting for it) and waits for
    // the loader; after this the game's thread owns everything again.
    void StopLoading() {
        if (!loader) return;
        {
            std::lock_guard<std::mutex> held(lock);
            cancelled = true;
            playWanted = false;
        }
        frameShown.notify_all();
        SDL_WaitThread(loader, nullptr);
        loader = nullptr;
        std::lock_guard<std::mutex> held(lock);
        cancelled = false;
        loading = false;
    }
};

// Never destroyed: the game closes its music from an exit handler too,
// which may run after the statics have gone. (The mixer's closing has
// joined any loader by then.)
MusicState& M() {
    static MusicState& state = *new MusicState;
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
    const int bytesPerFrame = m.bytesPerFrame.load();
    const uint64_t written = m.framesWritten.load();
    const uint64_t played = m.framesPlayed.fetch_add(static_cast<uint64_t>(length / bytesPerFrame)) +
                            static_cast<uint64_t>(length / bytesPerFrame);
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

// Plays the loaded piece from its start; with `notify`, its end posts the
// notice for `id`. Under the lock. Nothing is playing when the notice is
// set, so the notice can only come from this play's end, however short
// the piece.
bool StartPlay(uint32_t id, bool notify) {
    MusicState& m = M();
    HaltQuietly();
    m.framesPlayed.store(0);
    if (notify) m.notifyId.store(id);
    if (Mix_PlayMusic(m.music, 1) != 0) {
        m.notifyId.store(0);
        return false;
    }
    return true;
}

// A MIDI file, whose loading loads the whole soundfont into a new
// synthesiser: the only kind of piece worth loading beside the game.
bool NeedsSoundFont(const std::vector<uint8_t>& bytes) {
    auto at = [&](size_t offset, const char* tag) {
        return bytes.size() >= offset + 4 && std::memcmp(bytes.data() + offset, tag, 4) == 0;
    };
    return at(0, "MThd") || (at(0, "RIFF") && at(8, "RMID"));
}

Mix_Music* Load(const std::string& name, const uint8_t* data, size_t size) {
    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    Mix_Music* music = stream ? Mix_LoadMUS_RW(stream, 1) : nullptr;
    if (!music) std::fprintf(stderr, "Tessaline: %s cannot be played: %s\n", name.c_str(), Mix_GetError());
    return music;
}

// The loader: waits out any hold, loads the piece, hands it over and
// starts the play asked for meanwhile. A piece closed before the load
// begins is never loaded; one closed during it is freed by the closer.
void LoadInBackground(uint32_t id, std::string name, const uint8_t* data, size_t size, uint64_t holdUntil) {
    MusicState& m = M();
    {
        std::unique_lock<std::mutex> held(m.lock);
        m.frameShown.wait(held, [&] { return m.cancelled || m.framesShown >= holdUntil; });
        if (m.cancelled) return;
    }
    Mix_Music* music = Load(name, data, size);
    std::lock_guard<std::mutex> held(m.lock);
    m.music = music;
    m.loading = false;
    if (music && m.playWanted && !m.cancelled) StartPlay(id, m.notifyWanted);
    m.playWanted = false;
}

struct LoadJob {
    uint32_t id;
    std::string name;
    const uint8_t* data;
    size_t size;
    uint64_t holdUntil;
};

int SDLCALL RunLoader(void* job) {
    const std::unique_ptr<LoadJob> j(static_cast<LoadJob*>(job));
    LoadInBackground(j->id, j->name, j->data, j->size, j->holdUntil);
    return 0;
}

// Frames the load of a piece waits for after its opening, from
// TESSALINE_MUSIC_LOAD_AFTER_FRAMES: how the tests show that the game's
// frames go on while the music loads. 0 (the default): none.
uint64_t LoadHoldFrames() {
    const char* value = std::getenv("TESSALINE_MUSIC_LOAD_AFTER_FRAMES");
    return value ? std::strtoull(value, nullptr, 10) : 0;
}

void FreeOpenPiece() {
    MusicState& m = M();
    m.StopLoading();
    std::lock_guard<std::mutex> held(m.lock);
    if (m.music) {
        HaltQuietly();
        Mix_FreeMusic(m.music);
        m.music = nullptr;
    }
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

void MusicSawFrame() {
    MusicState& m = M();
    {
        std::lock_guard<std::mutex> held(m.lock);
        ++m.framesShown;
    }
    m.frameShown.notify_all();
}

void FrameShown() {
    MusicSawFrame();
    RunFrameHook();
}

}  // namespace sdl

// The piece is read and its kind checked at once; a MIDI piece is then
// loaded on a thread of its own, since FluidSynth reads the whole
// soundfont for it, and a play asked for meanwhile starts once it is
// loaded. A MIDI piece that fails to load keeps its device id: plays on
// it do nothing (and fail once the failure is known), a stop or close
// succeeds.
uint32_t OpenMusic(const char* fileName) {
    MusicState& m = M();
    NoteMusic("open", fileName);
    if (!sdl::MixerIsOpen()) return 0;
    std::vector<uint8_t> bytes;
    if (!ReadDataFile(fileName, bytes) || bytes.empty()) return 0;
    FreeOpenPiece();
    Mix_Init(MIX_INIT_MID);
    ChooseSoundFont();
    const bool inBackground = NeedsSoundFont(bytes);
    Mix_Music* music = nullptr;
    if (!inBackground && !(music = Load(fileName, bytes.data(), bytes.size()))) return 0;
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    const int bytesPerFrame = static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8) * (channels > 0 ? channels : 1);
    m.bytesPerFrame.store(bytesPerFrame > 0 ? bytesPerFrame : 1);
    m.framesWritten.store(sdl::MidiFileMicroseconds(bytes.data(), bytes.size()) * static_cast<uint64_t>(rate) /
                          1000000u);
    if (!m.hooked) {
        Mix_HookMusicFinished(MusicFinished);
        Mix_SetPostMix(CountFrames, nullptr);
        m.hooked = true;
    }
    Mix_VolumeMusic(MusicVolume);
    m.file.swap(bytes);
    m.openId = ++m.lastId;
    std::lock_guard<std::mutex> held(m.lock);
    m.music = music;
    if (inBackground) {
        m.loading = true;
        m.playWanted = false;
        auto* job = new LoadJob{m.openId, fileName, m.file.data(), m.file.size(), m.framesShown + LoadHoldFrames()};
        m.loader = SDL_CreateThread(RunLoader, "music loader", job);
        if (!m.loader) {  // no thread to be had: loaded here, as it always was
            delete job;
            m.loading = false;
            m.music = Load(fileName, m.file.data(), m.file.size());
        }
    }
    return m.openId;
}

bool PlayMusic(uint32_t deviceId, Window* notify) {
    MusicState& m = M();
    NoteMusic("play", nullptr);
    if (deviceId == 0 || deviceId != m.openId || !sdl::MixerIsOpen()) return false;
    std::lock_guard<std::mutex> held(m.lock);
    if (m.loading) {
        m.playWanted = true;
        m.notifyWanted = notify != nullptr;
        return true;
    }
    return m.music && StartPlay(deviceId, notify != nullptr);
}

bool StopMusic(uint32_t deviceId) {
    MusicState& m = M();
    NoteMusic("stop", nullptr);
    if (deviceId == 0 || deviceId != m.openId) return false;
    std::lock_guard<std::mutex> held(m.lock);
    m.playWanted = false;
    HaltQuietly();
    return true;
}

bool CloseMusic(uint32_t deviceId) {
    MusicState& m = M();
    NoteMusic("close", nullptr);
    if (deviceId == 0 || deviceId != m.openId) return false;
    FreeOpenPiece();
    return true;
}

}  // namespace platform

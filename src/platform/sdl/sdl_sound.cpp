// The SDL backend's sound effects on SDL_mixer. The mixer's output is the
// primary buffer's format; every effect is converted to it once, when it
// is made, and owns a mixer channel, so replaying an effect cuts it off
// and starts it again while other effects go on sounding.
#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/shared/frame_report.h"

namespace platform {

struct SoundBuffer {
    std::string name;  // the effect's file, for the state report
    int channel;
    Mix_Chunk* chunk;  // null for an effect without samples
    Uint8* samples;    // the converted samples the chunk plays
};

namespace {

constexpr int MixerChunkSamples = 512;  // about 23 ms at 22050 Hz

struct SoundState {
    bool device = false;
    bool primary = false;
    bool mixer = false;
    std::vector<bool> channelTaken;
};

SoundState& S() {
    static SoundState state;
    return state;
}

void CloseMixer() {
    SoundState& s = S();
    if (!s.mixer) return;
    sdl::CloseMusicForMixer();
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    s.mixer = false;
}

int TakeChannel() {
    std::vector<bool>& taken = S().channelTaken;
    size_t channel = 0;
    while (channel < taken.size() && taken[channel]) ++channel;
    if (channel == taken.size()) taken.push_back(false);
    taken[channel] = true;
    const int wanted = static_cast<int>(taken.size());
    if (Mix_AllocateChannels(-1) < wanted) Mix_AllocateChannels(wanted);
    return static_cast<int>(channel);
}

// The samples in the mixer's format (8 bits unsigned, 16 bits signed), or
// false if SDL cannot convert them.
bool ConvertToMixer(const WaveFormat& format, const uint8_t* data, uint32_t size, Uint8*& out, int& outLength) {
    int rate = 0, channels = 0;
    Uint16 mixFormat = 0;
    if (Mix_QuerySpec(&rate, &mixFormat, &channels) == 0) return false;
    SDL_AudioCVT cvt;
    const SDL_AudioFormat from = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(format.channels),
                          static_cast<int>(format.samplesPerSec), mixFormat, static_cast<Uint8>(channels), rate) < 0)
        return false;
    // Whole sample frames only; a torn last frame is dropped.
    const uint32_t frameBytes = static_cast<uint32_t>(format.bitsPerSample / 8) * format.channels;
    const uint32_t length = size - size % frameBytes;
    if (cvt.len_mult <= 0 || length > static_cast<uint32_t>(INT_MAX / cvt.len_mult)) return false;
    cvt.len = static_cast<int>(length);
    cvt.buf = static_cast<Uint8*>(SDL_malloc(static_cast<size_t>(length) * static_cast<size_t>(cvt.len_mult) + 1));
    if (!cvt.buf) return false;
    if (length > 0) std::memcpy(cvt.buf, data, length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
        SDL_free(cvt.buf);
        return false;
    }
    out = cvt.buf;
    outLength = cvt.needed ? cvt.len_cvt : cvt.len;
    return true;
}

}  // namespace

namespace sdl {

bool MixerIsOpen() { return S().mixer; }

}  // namespace sdl

bool CreateSoundDevice() {
    SoundState& s = S();
    if (s.device) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Tessaline: no sound: %s\n", SDL_GetError());
        return false;
    }
    // SDL's audio starts on a machine without a sound card too; only
    // opening the output tells. Without one the game has no sound device,
    // so it reports that once instead of failing every effect.
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_U8;
    want.channels = 2;
    want.samples = MixerChunkSamples;
    const SDL_AudioDeviceID probe = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (probe == 0) {
        std::fprintf(stderr, "Tessaline: no sound output: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_CloseAudioDevice(probe);
    s.device = true;
    return true;
}

bool SetSoundCooperativeLevel(Window*) { return S().device; }

bool CreatePrimarySoundBuffer() {
    SoundState& s = S();
    if (!s.device) return false;
    s.primary = true;
    return true;
}

void SetPrimarySoundFormat(const WaveFormat& format) {
    SoundState& s = S();
    if (!s.primary) return;
    CloseMixer();
    const Uint16 mixFormat = format.bitsPerSample == 16 ? AUDIO_S16SYS : AUDIO_U8;
    if (Mix_OpenAudio(static_cast<int>(format.samplesPerSec), mixFormat, format.channels, MixerChunkSamples) != 0) {
        std::fprintf(stderr, "Tessaline: the mixer cannot be opened: %s\n", Mix_GetError());
        return;
    }
    s.mixer = true;
    // Channels taken before a re-open keep their numbers.
    if (!s.channelTaken.empty()) Mix_AllocateChannels(static_cast<int>(s.channelTaken.size()));
}

SoundBuffer* CreateSoundBuffer(const char* name, const WaveFormat& format, const uint8_t* data, uint32_t size) {
    if (!S().mixer || !SoundFormatPlayable(format) || (size > 0 && !data)) return nullptr;
    Uint8* samples = nullptr;
    int length = 0;
    if (!ConvertToMixer(format, data, size, samples, length)) return nullptr;
    Mix_Chunk* chunk = nullptr;
    if (length > 0) {
        chunk = Mix_QuickLoad_RAW(samples, static_cast<Uint32>(length));
        if (!chunk) {
            SDL_free(samples);
            return nullptr;
        }
    }
    return new SoundBuffer{name ? name : "", TakeChannel(), chunk, samples};
}

void PlaySoundBuffer(SoundBuffer* buffer) {
    if (!buffer || !S().mixer) return;
    NoteSound(buffer->name.c_str());
    Mix_HaltChannel(buffer->channel);
    if (buffer->chunk) Mix_PlayChannel(buffer->channel, buffer->chunk, 0);
}

void ReleaseSoundBuffer(SoundBuffer* buffer) {
    if (!buffer) return;
    SoundState& s = S();
    if (s.mixer) Mix_HaltChannel(buffer->channel);
    if (buffer->chunk) Mix_FreeChunk(buffer->chunk);
    SDL_free(buffer->samples);
    if (static_cast<size_t>(buffer->channel) < s.channelTaken.size()) s.channelTaken[buffer->channel] = false;
    delete buffer;
}

void ReleasePrimarySoundBuffer() {
    CloseMixer();
    S().primary = false;
}

void ReleaseSoundDevice() {
    SoundState& s = S();
    if (!s.device) return;
    CloseMixer();
    s.primary = false;
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    s.device = false;
}

}  // namespace platform

// The sound effects: the mixer set-up, the WAV reader and the five effect
// buffers.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// What the WAV reader hands the loader: the format from the "fmt " chunk
// and the samples of the "data" chunk, owned by the caller (FreeWaveData).
struct WaveData {
    platform::WaveFormat format;
    uint32_t size;
    uint8_t* data;
};

extern bool directSound;
extern bool primaryBuffer;
extern platform::SoundBuffer* hitSound;
extern platform::SoundBuffer* attackSound;
extern platform::SoundBuffer* sousatuSound;
extern platform::SoundBuffer* jumpSound;
extern platform::SoundBuffer* koSound;

bool InitSound(int samplesPerSec, int bitsPerSample, int channels);
platform::SoundBuffer* LoadSound(const char* fileName, int volume, int pan, int frequency);
// Reads a RIFF/WAVE file whole; every refusal shows its message box.
bool Read_WaveFile(const char* fileName, WaveData& wave);
void FreeWaveData(WaveData& wave);
// Stops the effect, rewinds it and plays it once; an empty effect is skipped.
void PlayEffect(platform::SoundBuffer* buffer);
// The five effects, then the primary buffer, then the sound object.
void ReleaseSound();

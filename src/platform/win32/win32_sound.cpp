// The effects on DirectSound: the primary buffer set to the game's output
// format, and one static secondary buffer per effect, filled once.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/shared/frame_report.h"
#include "platform/win32/win32_internal.h"

#include <mmsystem.h>
#include <dsound.h>

namespace platform {

struct SoundBuffer {
    std::string name;
    IDirectSoundBuffer* buffer;  // null for an effect with no samples
};

namespace {

struct Sound {
    IDirectSound* directSound = nullptr;
    IDirectSoundBuffer* primary = nullptr;
};

Sound& S() {
    static Sound sound;
    return sound;
}

WAVEFORMATEX Format(const WaveFormat& format) {
    WAVEFORMATEX f{};
    f.wFormatTag = format.formatTag;
    f.nChannels = format.channels;
    f.nSamplesPerSec = format.samplesPerSec;
    f.nAvgBytesPerSec = format.avgBytesPerSec;
    f.nBlockAlign = format.blockAlign;
    f.wBitsPerSample = format.bitsPerSample;
    f.cbSize = 0;
    return f;
}

}  // namespace

bool CreateSoundDevice() {
    Sound& s = S();
    if (s.directSound) return false;
    if (DirectSoundCreate(nullptr, &s.directSound, nullptr) != DS_OK) {
        s.directSound = nullptr;
        return false;
    }
    return true;
}

bool SetSoundCooperativeLevel(Window* window) {
    HWND handle = win32::Handle(window);
    if (!handle) handle = win32::MainWindow();
    return S().directSound && S().directSound->SetCooperativeLevel(handle, DSSCL_PRIORITY) == DS_OK;
}

bool CreatePrimarySoundBuffer() {
    Sound& s = S();
    if (!s.directSound || s.primary) return false;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    if (s.directSound->CreateSoundBuffer(&desc, &s.primary, nullptr) != DS_OK) {
        s.primary = nullptr;
        return false;
    }
    return true;
}

void SetPrimarySoundFormat(const WaveFormat& format) {
    if (!S().primary) return;
    WAVEFORMATEX f = Format(format);
    S().primary->SetFormat(&f);
}

SoundBuffer* CreateSoundBuffer(const char* name, const WaveFormat& format, const uint8_t* data, uint32_t size) {
    Sound& s = S();
    if (!s.directSound || !SoundFormatPlayable(format) || (size > 0 && !data)) return nullptr;
    // DirectSound makes no buffer shorter than a few bytes: an effect that
    // short is kept, and playing it sounds nothing.
    if (size < DSBSIZE_MIN) return new SoundBuffer{name ? name : "", nullptr};
    WAVEFORMATEX f = Format(format);
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = &f;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(s.directSound->CreateSoundBuffer(&desc, &buffer, nullptr))) return nullptr;
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0, secondBytes = 0;
    if (FAILED(buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER))) {
        buffer->Release();
        return nullptr;
    }
    std::memcpy(first, data, firstBytes < size ? firstBytes : size);
    buffer->Unlock(first, firstBytes, second, secondBytes);
    return new SoundBuffer{name ? name : "", buffer};
}

void PlaySoundBuffer(SoundBuffer* buffer) {
    if (!buffer || !S().directSound) return;
    NoteSound(buffer->name.c_str());
    if (!buffer->buffer) return;
    buffer->buffer->Stop();
    buffer->buffer->SetCurrentPosition(0);
    buffer->buffer->Play(0, 0, 0);
}

void ReleaseSoundBuffer(SoundBuffer* buffer) {
    if (!buffer) return;
    if (buffer->buffer) {
        buffer->buffer->Stop();
        win32::Release(buffer->buffer);
    }
    delete buffer;
}

void ReleasePrimarySoundBuffer() { win32::Release(S().primary); }

void ReleaseSoundDevice() {
    win32::Release(S().primary);
    win32::Release(S().directSound);
}

}  // namespace platform

// The sound set-up, the effect loader and the release at the end of the
// run. The mixer plays on its own; the game only hands it whole effects.
#include "devices/sound.h"

#include "app/shell.h"

using namespace platform;

bool directSound = false;
bool primaryBuffer = false;

namespace {

// The sound set-up's failures belong to no window.
bool SoundSetUpFailed(const char* text) {
    MessageBox(nullptr, text, "DSound!");
    return false;
}

}  // namespace

bool InitSound(int samplesPerSec, int bitsPerSample, int channels) {
    if (!CreateSoundDevice()) return SoundSetUpFailed("DirectSoundオブジェクトの作成に失敗");
    directSound = true;
    if (!SetSoundCooperativeLevel(mainWindow)) return SoundSetUpFailed("協調レベルの設定に失敗");
    if (!CreatePrimarySoundBuffer()) return SoundSetUpFailed("プライマリバッファの生成に失敗");
    primaryBuffer = true;

    WaveFormat format{};
    format.formatTag = 1;  // PCM
    format.channels = static_cast<uint16_t>(channels);
    format.samplesPerSec = static_cast<uint32_t>(samplesPerSec);
    format.bitsPerSample = static_cast<uint16_t>(bitsPerSample);
    format.blockAlign = static_cast<uint16_t>(bitsPerSample / 8 * channels);
    format.avgBytesPerSec = static_cast<uint32_t>(format.blockAlign) * format.samplesPerSec;
    format.extraSize = 0;
    SetPrimarySoundFormat(format);
    return true;
}

// Volume, pan and frequency 0 mean full volume, centre and the file's own
// rate, which is how every effect of the game plays; the mixer's buffers
// are made that way.
SoundBuffer* LoadSound(const char* fileName, int, int, int) {
    if (!directSound) return nullptr;
    WaveData wave{};
    if (!Read_WaveFile(fileName, wave)) return nullptr;
    SoundBuffer* buffer = CreateSoundBuffer(fileName, wave.format, wave.data, wave.size);
    FreeWaveData(wave);
    if (!buffer) MessageBox(nullptr, "バッファの作成に失敗", "DSound!");
    return buffer;
}

void FreeWaveData(WaveData& wave) {
    delete[] wave.data;
    wave.data = nullptr;
    wave.size = 0;
}

namespace {

void ReleaseEffect(SoundBuffer*& buffer) {
    if (!buffer) return;
    ReleaseSoundBuffer(buffer);
    buffer = nullptr;
}

}  // namespace

void ReleaseSound() {
    ReleaseEffect(koSound);
    ReleaseEffect(jumpSound);
    ReleaseEffect(hitSound);
    ReleaseEffect(attackSound);
    ReleaseEffect(sousatuSound);
    if (primaryBuffer) {
        ReleasePrimarySoundBuffer();
        primaryBuffer = false;
    }
    if (directSound) {
        ReleaseSoundDevice();
        directSound = false;
    }
}

// Headless sound and music: nothing is heard; every effect played and
// every music command is recorded.
#include <cstdio>

#include "platform/headless/headless_state.h"

namespace platform {

struct SoundBuffer {
    std::string name;
};

using headless::EventKind;
using headless::Step;
using headless::detail::Fails;
using headless::detail::Record;
using headless::detail::S;
using headless::detail::State;

bool CreateSoundDevice() {
    if (Fails(Step::CreateSoundDevice)) return false;
    S().soundDevice = true;
    return true;
}

bool SetSoundCooperativeLevel(Window*) { return !Fails(Step::SetSoundCooperativeLevel) && S().soundDevice; }

bool CreatePrimarySoundBuffer() {
    if (Fails(Step::CreatePrimarySoundBuffer) || !S().soundDevice) return false;
    S().primarySound = true;
    return true;
}

void SetPrimarySoundFormat(const WaveFormat&) {}

SoundBuffer* CreateSoundBuffer(const char* name, const WaveFormat& format, const uint8_t*, uint32_t) {
    if (Fails(Step::CreateSoundBuffer) || !S().soundDevice) return nullptr;
    if (!SoundFormatPlayable(format)) return nullptr;
    return new SoundBuffer{name ? name : ""};
}

void PlaySoundBuffer(SoundBuffer* buffer) {
    if (!buffer) return;
    Record({EventKind::EffectPlayed, buffer->name, "", "", false, 0});
}

void ReleaseSoundBuffer(SoundBuffer* buffer) {
    if (!buffer) return;
    Record({EventKind::Released, "sound buffer " + buffer->name, "", "", false, 0});
    delete buffer;
}

void ReleasePrimarySoundBuffer() {
    S().primarySound = false;
    Record({EventKind::Released, "primary sound buffer", "", "", false, 0});
}

void ReleaseSoundDevice() {
    S().soundDevice = false;
    Record({EventKind::Released, "sound device", "", "", false, 0});
}

uint32_t OpenMusic(const char* fileName) {
    State& s = S();
    Record({EventKind::MusicCommand, "open", fileName ? fileName : "", "", false, 0});
    if (Fails(Step::OpenMusic)) return 0;
    std::FILE* file = OpenDataFile(fileName);
    if (!file) return 0;
    std::fclose(file);
    s.openMusicId = s.nextMusicId++;
    return s.openMusicId;
}

bool PlayMusic(uint32_t deviceId, Window* notify) {
    State& s = S();
    Record({EventKind::MusicCommand, "play", "", "", false, static_cast<int>(deviceId)});
    if (deviceId == 0 || deviceId != s.openMusicId) return false;
    s.playingMusicId = deviceId;
    s.musicNotify = notify;
    return true;
}

bool StopMusic(uint32_t deviceId) {
    State& s = S();
    Record({EventKind::MusicCommand, "stop", "", "", false, static_cast<int>(deviceId)});
    if (deviceId == 0 || deviceId != s.openMusicId) return false;
    s.playingMusicId = 0;
    return true;
}

bool CloseMusic(uint32_t deviceId) {
    State& s = S();
    Record({EventKind::MusicCommand, "close", "", "", false, static_cast<int>(deviceId)});
    if (deviceId == 0 || deviceId != s.openMusicId) return false;
    s.playingMusicId = 0;
    s.openMusicId = 0;
    return true;
}

}  // namespace platform

namespace platform::headless {

void FinishMusic() {
    detail::State& s = detail::S();
    if (s.playingMusicId == 0) return;
    const uint32_t id = s.playingMusicId;
    s.playingMusicId = 0;
    s.queue.push_back(Message{&s.window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<intptr_t>(id)});
}

}  // namespace platform::headless

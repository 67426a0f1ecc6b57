// The background music. The sequencer plays on its own; the game only
// sends it commands and never waits for them.
#include "app/music.h"

#include <cstdlib>

#include "app/shell.h"
#include "platform/platform.h"

MidiMusicObject MidiMusic = {};
uint8_t musicPlayRequested = 0;

namespace {

// The object closes its device at program exit, as well as on window
// destruction; a second close of a closed device does nothing.
const bool exitHandlerRegistered = std::atexit([] { MidiMusicClose(); }) == 0;

void SendPlay() {
    platform::PlayMusic(MidiMusic.deviceId, mainWindow);
    musicPlayRequested = 1;
}

}  // namespace

void MidiMusicOpen(const char* fileName) {
    (void)exitHandlerRegistered;
    MidiMusic.elementName = fileName;
    MidiMusic.deviceId = platform::OpenMusic(fileName);
}

void MidiMusicUpdate(uint8_t loop) {
    if (MidiMusic.started == 0) {
        MidiMusic.started = 1;
        SendPlay();
    }
    // The keep-alive: a piece that has finished is played again from its
    // start.
    if (loop == 1 && musicPlayRequested == 0) SendPlay();
}

void MidiMusicClose() {
    if (MidiMusic.deviceId == 0) return;
    platform::StopMusic(MidiMusic.deviceId);
    platform::CloseMusic(MidiMusic.deviceId);
    MidiMusic.deviceId = 0;
}

void MidiMusicNotify(uintptr_t notifyCode, uint32_t deviceId) {
    // Only the end of a successful play of the open piece loops the music.
    if (notifyCode == platform::MCI_NOTIFY_SUCCESSFUL && deviceId != 0 && deviceId == MidiMusic.deviceId)
        musicPlayRequested = 0;
}

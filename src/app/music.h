// The background music: one MIDI file played by the sequencer, kept going
// by a keep-alive every frame.
#pragma once

#include <cstdint>

struct MidiMusicObject {
    uint8_t started;
    uint32_t deviceId;
    const char* elementName;
};

extern MidiMusicObject MidiMusic;
extern uint8_t musicPlayRequested;

void MidiMusicOpen(const char* fileName);
void MidiMusicUpdate(uint8_t loop);
void MidiMusicClose();
// Called for the completion notice of a play request.
void MidiMusicNotify(uintptr_t notifyCode, uint32_t deviceId);

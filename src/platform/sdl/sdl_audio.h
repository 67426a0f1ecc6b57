// What the SDL backend's sound and music share: the mixer's output, which
// the effects and the music both play into.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::sdl {

// True while the mixer is open (from SetPrimarySoundFormat until the
// primary buffer or the device is released).
bool MixerIsOpen();
// Halts and frees the open piece of music, quietly; the mixer calls it
// before it closes.
void CloseMusicForMixer();
// Counts a frame shown, for a load of the music held until some frames
// have been (see OpenMusic).
void MusicSawFrame();
// How long a Standard MIDI File lasts as written, in microseconds; 0 when
// the bytes are no MIDI file it can read.
uint64_t MidiFileMicroseconds(const uint8_t* data, size_t size);

}  // namespace platform::sdl

// What the SDL backend's sound and music share: the mixer's output, which
// the effects and the music both play into.
#pragma once

namespace platform::sdl {

// True while the mixer is open (from SetPrimarySoundFormat until the
// primary buffer or the device is released).
bool MixerIsOpen();
// Halts and frees the open piece of music, quietly; the mixer calls it
// before it closes.
void CloseMusicForMixer();

}  // namespace platform::sdl

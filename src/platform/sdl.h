// The SDL backend's extras for the game itself: a routine called after
// each frame is shown, and the notes of what the backend did for the game,
// for the state report that the tests of the real game read.
#pragma once

#include "platform/frame_notes.h"

namespace platform::sdl {

// Called after each frame has been shown and paced; null for none. While a
// hook is set the backend notes the effects played, the commands sent to
// the music and the message boxes shown.
void SetFrameHook(void (*hook)());
// The notes taken since the last call, oldest first; they are then cleared.
FrameNotes TakeFrameNotes();

}  // namespace platform::sdl

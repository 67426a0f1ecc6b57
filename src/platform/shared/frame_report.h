// The notes behind the real game's state report, taken by either game
// backend (kept only while a frame hook is set), and the call that runs the
// hook once a frame has been shown. All of it runs on the game's thread.
#pragma once

namespace platform {

void NoteSound(const char* name);
void NoteMusic(const char* command, const char* fileName);
void NoteMessage(const char* caption, const char* text);
void RunFrameHook();

}  // namespace platform

// What the game's entry needs of the backend that runs the real game (SDL
// on Linux, the Windows one on Windows): a routine called after each frame
// is shown, and the notes of what the backend did for the game, for the
// state report that the tests of the real game read; the window's size and
// full screen at start, from the command line; and where the game's
// executable is, for finding its data.
#pragma once

#include <string>

#include "platform/frame_notes.h"

namespace platform::game {

// Called after each frame has been shown and paced; null for none. While a
// hook is set the backend notes the effects played, the commands sent to
// the music and the message boxes shown.
void SetFrameHook(void (*hook)());
// The notes taken since the last call, oldest first; they are then cleared.
FrameNotes TakeFrameNotes();

// The window is `scale` times the size the game asks for (320 x 240 when it
// is made and when it comes back from full screen), the picture scaled up
// with it. Set before WinMain; 1 by default.
void SetWindowScale(int scale);
// The game starts in full screen: the window, once first shown, is sent F5
// as a key press would send it, and the game's own F5 makes the switch.
void StartInFullScreen();
// The folder holding the game's executable, ending in '/'; empty if unknown.
std::string ExecutableFolder();
// What the game says before it starts (its help and version, a bad command
// line, no data found), on the standard output, or the standard error for
// an error. Where the game has neither (a Windows game started from its
// icon has no console) it is shown in a message box instead.
void TellPlayer(const std::string& text, bool error);

}  // namespace platform::game

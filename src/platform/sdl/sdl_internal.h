// What the SDL backend's parts share among themselves.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform::sdl {

// The main window, or null before it exists and after it is destroyed.
SDL_Window* MainSdlWindow();
// Puts a message on the window's queue; safe from any thread (the mixer's
// callbacks run on the audio thread).
void PostMessageFromAnyThread(uint32_t message, uintptr_t wParam, intptr_t lParam);
// True while the window has the foreground.
bool WindowIsActive();
// Counts the window's losses of the foreground, so input devices can tell
// they were lost.
unsigned ForegroundLosses();

// Once a frame has been shown: the music's clock, then the frame hook.
void FrameShown();

}  // namespace platform::sdl

// Virtual-key codes and keyboard scan codes as SDL scancodes.
#pragma once

#include <SDL.h>

namespace platform::sdl {

// SDL_SCANCODE_UNKNOWN for a key the game does not know.
SDL_Scancode ScancodeOfVirtualKey(int virtualKey);
SDL_Scancode ScancodeOfKeyboardCode(int code);
// 0 for a key the game does not know.
int VirtualKeyOfScancode(SDL_Scancode scancode);

// Counts the window's losses of the foreground, so input devices can tell
// they were lost.
unsigned ForegroundLosses();

}  // namespace platform::sdl

// Virtual-key codes and keyboard scan codes as SDL scancodes.
#pragma once

#include <SDL.h>

namespace platform::sdl {

// 0 for a key the game does not know.
int VirtualKeyOfScancode(SDL_Scancode scancode);
// True when any key of this virtual-key code is held in SDL's keyboard
// state (both Enter keys are Enter).
bool VirtualKeyHeld(int virtualKey, const Uint8* state, int count);
// SDL_SCANCODE_UNKNOWN for a code the keyboard device does not report.
SDL_Scancode ScancodeOfKeyboardCode(int code);

}  // namespace platform::sdl

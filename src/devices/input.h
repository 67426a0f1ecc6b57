// Player 2's input: the first joystick or, without one, the keyboard,
// read into two bytes by the poll routine chosen at start-up.
#pragma once

#include <cstdint>

struct InputState {
    uint8_t directions;  // 1 right, 2 left, 4 down, 8 up
    uint8_t buttons;     // 1 attack (X, button 0), 2 jump (Z, button 1)
};

constexpr int AxisThreshold = 800;

extern InputState inputState;
extern void (*pollInput)();
extern bool keyboardDevice;
extern bool joystickDevice;
extern bool directInput;

void InitInput();
void PollKeyboard();
void PollJoystick();
void ReadKeyboardButtons();
void ReadKeyboardDirections();
void ReadJoystickButtons();
void ReadJoystickDirections();
void ReleaseInput();

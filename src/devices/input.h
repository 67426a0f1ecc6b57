// Player 2's input: the first joystick or, without one, the keyboard,
// read into two bytes by the poll routine chosen at start-up. An option can
// name the device instead: the gamepad, the keypad keys or the computer.
#pragma once

#include <cstdint>

struct InputState {
    uint8_t directions;  // 1 right, 2 left, 4 down, 8 up
    uint8_t buttons;     // 1 attack (X, button 0), 2 jump (Z, button 1)
};

constexpr int AxisThreshold = 800;

// Who plays player 2: Auto is the gamepad when one is attached, otherwise
// player 1's keys.
enum class Player2Device : uint8_t { Auto, Pad, Keys, Computer };

extern InputState inputState;
extern Player2Device player2Device;
extern void (*pollInput)();
extern bool keyboardDevice;
extern bool joystickDevice;
extern bool directInput;

void InitInput();
void PollKeyboard();
void PollJoystick();
// The keypad: 8 4 5 6 walk, 0 strikes, + jumps.
void PollSecondKeys();
void ReadKeyboardButtons();
void ReadKeyboardDirections();
void ReadJoystickButtons();
void ReadJoystickDirections();
void ReadSecondKeysButtons();
void ReadSecondKeysDirections();
void ReleaseInput();

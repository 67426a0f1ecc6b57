// Player 2's input devices. The poll routine is chosen once at start-up:
// the joystick when one was found, otherwise the keyboard.
#include "devices/input.h"

#include "app/shell.h"
#include "display/display.h"
#include "platform/platform.h"

using namespace platform;

InputState inputState = {};
void (*pollInput)() = PollKeyboard;
bool keyboardDevice = false;
bool joystickDevice = false;
bool directInput = false;

namespace {

constexpr int AxisRange = 1000;
constexpr uint8_t Down = 0x80;

// A set-up failure: the message, owned by the main window, then the
// display release the design asks for (nothing exists yet at this point).
void Fail(const char* text, const char* caption) {
    MessageBox(mainWindow, text, caption);
    ReleaseDisplay(mainWindow);
}

void InitKeyboard() {
    keyboardDevice = CreateKeyboardDevice();
    if (!keyboardDevice) {
        Fail("キーボードデバイスの作成に失敗しました", "DInput!");
        return;
    }
    if (!SetKeyboardDataFormat()) {
        Fail("データフォーマットの作成に失敗しました", "DInput!");
        return;
    }
    if (!SetKeyboardCooperativeLevel(mainWindow)) {
        Fail("モードの設定に失敗しました", "DInput!");
        return;
    }
    AcquireKeyboard();
}

void InitJoystick() {
    if (!SetJoystickDataFormat()) {
        Fail("データフォーマットの設定に失敗しました", "DInput");
        return;
    }
    if (!SetJoystickCooperativeLevel(mainWindow)) {
        Fail("協調モードの設定に失敗しました", "DInput");
        return;
    }
    SetJoystickAxisRange(0, -AxisRange, AxisRange);
    SetJoystickAxisRange(4, -AxisRange, AxisRange);
    AcquireJoystick();
}

// A read that met a lost device re-acquires it while the window is active
// and reports nothing this time.
bool ReadKeyboard(uint8_t keys[256]) {
    if (!keyboardDevice) return false;
    const InputResult r = GetKeyboardState(keys);
    if (r == InputResult::Lost && appActive != 0) AcquireKeyboard();
    return r == InputResult::Ok;
}

bool ReadJoystick(JoystickState& state) {
    if (!joystickDevice) return false;
    PollJoystickDevice();
    const InputResult r = GetJoystickState(state);
    if (r == InputResult::Lost && appActive != 0) AcquireJoystick();
    return r == InputResult::Ok;
}

}  // namespace

void InitInput() {
    directInput = CreateInputObject();
    if (!directInput) {
        MessageBox(mainWindow, "DirectInputオブジェクトの生成にが失敗しました", "DInput!");
    } else {
        InitKeyboard();
        joystickDevice = FindJoystick();
    }
    if (joystickDevice) {
        InitJoystick();
        pollInput = PollJoystick;
    } else {
        pollInput = PollKeyboard;
    }
}

void PollKeyboard() {
    ReadKeyboardButtons();
    ReadKeyboardDirections();
}

void PollJoystick() {
    ReadJoystickButtons();
    ReadJoystickDirections();
}

void ReadKeyboardButtons() {
    inputState.buttons = 0;
    uint8_t keys[256];
    if (!ReadKeyboard(keys)) return;
    if (keys[DIK_Z] & Down) inputState.buttons |= 2;
    if (keys[DIK_X] & Down) inputState.buttons |= 1;
}

void ReadKeyboardDirections() {
    inputState.directions = 0;
    uint8_t keys[256];
    if (!ReadKeyboard(keys)) return;
    if (keys[DIK_LEFT] & Down) {
        inputState.directions |= 2;
    } else if (keys[DIK_RIGHT] & Down) {
        inputState.directions |= 1;
    }
    if (keys[DIK_UP] & Down) {
        inputState.directions |= 8;
    } else if (keys[DIK_DOWN] & Down) {
        inputState.directions |= 4;
    }
}

void ReadJoystickButtons() {
    inputState.buttons = 0;
    JoystickState state;
    if (!ReadJoystick(state)) return;
    if (state.buttons[1] & Down) inputState.buttons |= 2;
    if (state.buttons[0] & Down) inputState.buttons |= 1;
}

void ReadJoystickDirections() {
    inputState.directions = 0;
    JoystickState state;
    if (!ReadJoystick(state)) return;
    if (state.x < -AxisThreshold) {
        inputState.directions |= 2;
    } else if (state.x > AxisThreshold) {
        inputState.directions |= 1;
    }
    if (state.y < -AxisThreshold) {
        inputState.directions |= 8;
    } else if (state.y > AxisThreshold) {
        inputState.directions |= 4;
    }
}

void ReleaseInput() {
    if (keyboardDevice) {
        ReleaseKeyboardDevice();
        keyboardDevice = false;
    }
    if (joystickDevice) {
        ReleaseJoystickDevice();
        joystickDevice = false;
    }
    if (directInput) {
        ReleaseInputObject();
        directInput = false;
    }
}

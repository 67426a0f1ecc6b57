// Player 2's input devices. The poll routine is chosen once at start-up:
// the joystick when one was found, otherwise the keyboard, unless an option
// named the device.
#include "devices/input.h"

#include <cstdio>

#include "app/shell.h"
#include "combat/computer.h"
#include "display/display.h"
#include "platform/platform.h"

using namespace platform;

InputState inputState = {};
void (*pollInput)() = PollKeyboard;
bool keyboardDevice = false;
bool joystickDevice = false;
bool directInput = false;
Player2Device player2Device = Player2Device::Auto;

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

// A key set by scan codes: left over right and up over down, as both
// keyboard routes read them.
struct KeySet {
    int left, right, up, down, attack, jump;
};
constexpr KeySet ArrowKeys = {DIK_LEFT, DIK_RIGHT, DIK_UP, DIK_DOWN, DIK_X, DIK_Z};
// The keypad's 5 is down, under the 8, as the arrows are laid out.
constexpr KeySet KeypadKeys = {DIK_NUMPAD4, DIK_NUMPAD6, DIK_NUMPAD8, DIK_NUMPAD5, DIK_NUMPAD0, DIK_ADD};

void ReadKeySetButtons(const KeySet& set) {
    inputState.buttons = 0;
    uint8_t keys[256];
    if (!ReadKeyboard(keys)) return;
    if (keys[set.jump] & Down) inputState.buttons |= 2;
    if (keys[set.attack] & Down) inputState.buttons |= 1;
}

void ReadKeySetDirections(const KeySet& set) {
    inputState.directions = 0;
    uint8_t keys[256];
    if (!ReadKeyboard(keys)) return;
    if (keys[set.left] & Down) {
        inputState.directions |= 2;
    } else if (keys[set.right] & Down) {
        inputState.directions |= 1;
    }
    if (keys[set.up] & Down) {
        inputState.directions |= 8;
    } else if (keys[set.down] & Down) {
        inputState.directions |= 4;
    }
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
    const bool padWanted = player2Device == Player2Device::Auto || player2Device == Player2Device::Pad;
    if (joystickDevice && padWanted) {
        InitJoystick();
        pollInput = PollJoystick;
    } else {
        pollInput = PollKeyboard;
    }
    if (player2Device == Player2Device::Keys) pollInput = PollSecondKeys;
    if (player2Device == Player2Device::Computer) pollInput = PollComputer;
    if (player2Device == Player2Device::Pad && !joystickDevice) {
        // Asked for by name, the gamepad is not silently replaced by keys.
        std::fprintf(stderr, "tessaline: --p2 pad: no gamepad is attached\n");
        PostQuitMessage(2);
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

void PollSecondKeys() {
    ReadSecondKeysButtons();
    ReadSecondKeysDirections();
}

void ReadKeyboardButtons() { ReadKeySetButtons(ArrowKeys); }

void ReadKeyboardDirections() { ReadKeySetDirections(ArrowKeys); }

void ReadSecondKeysButtons() { ReadKeySetButtons(KeypadKeys); }

void ReadSecondKeysDirections() { ReadKeySetDirections(KeypadKeys); }

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

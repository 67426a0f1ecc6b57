// Headless input devices: the keyboard device reads the keys the caller
// holds, the joystick is the caller's virtual gamepad.
#include <cstring>

#include "platform/headless/headless_state.h"

namespace platform {

using headless::Step;
using headless::detail::DeviceState;
using headless::detail::Fails;
using headless::detail::S;
using headless::detail::State;

namespace {

// Acquiring needs the data format and, for these foreground devices, the
// window in the foreground.
bool Acquire(DeviceState& d) {
    if (!d.created || !d.formatSet || !S().active) return false;
    d.acquired = true;
    d.lost = false;
    return true;
}

InputResult Readable(const DeviceState& d) {
    if (!d.created) return InputResult::Failed;
    if (d.lost) return InputResult::Lost;
    return d.acquired ? InputResult::Ok : InputResult::Failed;
}

}  // namespace

bool CreateInputObject() {
    if (Fails(Step::CreateInputObject)) return false;
    S().inputObject = true;
    return true;
}

bool CreateKeyboardDevice() {
    if (Fails(Step::CreateKeyboardDevice) || !S().inputObject) return false;
    S().keyboard = DeviceState{true, false, false, false};
    return true;
}

bool SetKeyboardDataFormat() {
    if (Fails(Step::SetKeyboardDataFormat) || !S().keyboard.created) return false;
    S().keyboard.formatSet = true;
    return true;
}

bool SetKeyboardCooperativeLevel(Window*) {
    return !Fails(Step::SetKeyboardCooperativeLevel) && S().keyboard.created;
}

bool AcquireKeyboard() { return Acquire(S().keyboard); }

InputResult GetKeyboardState(uint8_t keys[256]) {
    State& s = S();
    const InputResult r = Readable(s.keyboard);
    if (r != InputResult::Ok) return r;
    std::memset(keys, 0, 256);
    const struct {
        int vk, dik;
    } map[] = {{VK_Z, DIK_Z},           {VK_X, DIK_X},           {VK_UP, DIK_UP},
               {VK_LEFT, DIK_LEFT},     {VK_RIGHT, DIK_RIGHT},   {VK_DOWN, DIK_DOWN},
               {VK_NUMPAD8, DIK_NUMPAD8}, {VK_NUMPAD4, DIK_NUMPAD4}, {VK_NUMPAD5, DIK_NUMPAD5},
               {VK_NUMPAD6, DIK_NUMPAD6}, {VK_NUMPAD0, DIK_NUMPAD0}, {VK_ADD, DIK_ADD}};
    for (const auto& m : map) {
        if (s.keys[static_cast<size_t>(m.vk)]) keys[m.dik] = 0x80;
    }
    return InputResult::Ok;
}

bool FindJoystick() {
    State& s = S();
    if (!s.inputObject || !s.joystickAttached) return false;
    s.joystick = DeviceState{true, false, false, false};
    return true;
}

bool SetJoystickDataFormat() {
    if (Fails(Step::SetJoystickDataFormat) || !S().joystick.created) return false;
    S().joystick.formatSet = true;
    return true;
}

bool SetJoystickCooperativeLevel(Window*) {
    return !Fails(Step::SetJoystickCooperativeLevel) && S().joystick.created;
}

bool SetJoystickAxisRange(int, int32_t, int32_t) { return S().joystick.created; }

bool AcquireJoystick() { return Acquire(S().joystick); }

void PollJoystickDevice() {}

InputResult GetJoystickState(JoystickState& state) {
    State& s = S();
    const InputResult r = Readable(s.joystick);
    if (r != InputResult::Ok) return r;
    state = JoystickState{};
    state.x = s.joyX;
    state.y = s.joyY;
    state.buttons[0] = s.joyButton0 ? 0x80 : 0;
    state.buttons[1] = s.joyButton1 ? 0x80 : 0;
    return InputResult::Ok;
}

void ReleaseKeyboardDevice() {
    S().keyboard = DeviceState{};
    headless::detail::Record({headless::EventKind::Released, "keyboard device", "", "", false, 0});
}

void ReleaseJoystickDevice() {
    S().joystick = DeviceState{};
    headless::detail::Record({headless::EventKind::Released, "joystick device", "", "", false, 0});
}

void ReleaseInputObject() {
    S().inputObject = false;
    headless::detail::Record({headless::EventKind::Released, "input object", "", "", false, 0});
}

}  // namespace platform

namespace platform::headless {

void AttachJoystick(bool attached) { detail::S().joystickAttached = attached; }

void SetJoystick(int32_t x, int32_t y, bool button0, bool button1) {
    detail::State& s = detail::S();
    s.joyX = x;
    s.joyY = y;
    s.joyButton0 = button0;
    s.joyButton1 = button1;
}

}  // namespace platform::headless

// Player 2's devices on DirectInput 7: the keyboard by scan codes and the
// first attached joystick, both non-exclusive and in the foreground only,
// so the system takes them away when the window loses the foreground.
#include <cstring>

#include "platform/platform.h"
#include "platform/win32/win32_internal.h"

#define DIRECTINPUT_VERSION 0x0700
#include <dinput.h>

namespace platform {

namespace {

struct Input {
    IDirectInput7A* directInput = nullptr;
    IDirectInputDevice7A* keyboard = nullptr;
    IDirectInputDevice7A* joystick = nullptr;
};

Input& I() {
    static Input input;
    return input;
}

IDirectInputDevice7A* CreateDevice(REFGUID instance) {
    IDirectInputDevice7A* device = nullptr;
    if (FAILED(I().directInput->CreateDeviceEx(instance, IID_IDirectInputDevice7A, reinterpret_cast<void**>(&device),
                                               nullptr)))
        return nullptr;
    return device;
}

// The first joystick whose device can be made ends the search.
BOOL CALLBACK OnJoystickFound(LPCDIDEVICEINSTANCEA instance, LPVOID) {
    I().joystick = CreateDevice(instance->guidInstance);
    return I().joystick ? DIENUM_STOP : DIENUM_CONTINUE;
}

InputResult Result(HRESULT result) {
    if (SUCCEEDED(result)) return InputResult::Ok;
    if (result == DIERR_INPUTLOST || result == DIERR_NOTACQUIRED) return InputResult::Lost;
    return InputResult::Failed;
}

}  // namespace

bool CreateInputObject() {
    Input& in = I();
    if (in.directInput) return false;
    if (FAILED(DirectInputCreateEx(GetModuleHandleA(nullptr), 0x0700, IID_IDirectInput7A,
                                   reinterpret_cast<void**>(&in.directInput), nullptr))) {
        in.directInput = nullptr;
        return false;
    }
    return true;
}

bool CreateKeyboardDevice() {
    if (!I().directInput || I().keyboard) return false;
    I().keyboard = CreateDevice(GUID_SysKeyboard);
    return I().keyboard != nullptr;
}

bool SetKeyboardDataFormat() { return I().keyboard && SUCCEEDED(I().keyboard->SetDataFormat(&c_dfDIKeyboard)); }

bool SetKeyboardCooperativeLevel(Window* window) {
    return I().keyboard &&
           SUCCEEDED(I().keyboard->SetCooperativeLevel(win32::Handle(window), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
}

bool AcquireKeyboard() { return I().keyboard && SUCCEEDED(I().keyboard->Acquire()); }

InputResult GetKeyboardState(uint8_t keys[256]) {
    if (!I().keyboard) return InputResult::Failed;
    const InputResult r = Result(I().keyboard->GetDeviceState(256, keys));
    if (r != InputResult::Ok) std::memset(keys, 0, 256);
    return r;
}

bool FindJoystick() {
    Input& in = I();
    if (!in.directInput) return false;
    if (!in.joystick) in.directInput->EnumDevices(DIDEVTYPE_JOYSTICK, OnJoystickFound, nullptr, DIEDFL_ATTACHEDONLY);
    return in.joystick != nullptr;
}

bool SetJoystickDataFormat() { return I().joystick && SUCCEEDED(I().joystick->SetDataFormat(&c_dfDIJoystick)); }

bool SetJoystickCooperativeLevel(Window* window) {
    return I().joystick &&
           SUCCEEDED(I().joystick->SetCooperativeLevel(win32::Handle(window), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND));
}

bool SetJoystickAxisRange(int axisOffset, int32_t minimum, int32_t maximum) {
    if (!I().joystick) return false;
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof range;
    range.diph.dwHeaderSize = sizeof range.diph;
    range.diph.dwObj = static_cast<DWORD>(axisOffset);
    range.diph.dwHow = DIPH_BYOFFSET;
    range.lMin = minimum;
    range.lMax = maximum;
    return SUCCEEDED(I().joystick->SetProperty(DIPROP_RANGE, &range.diph));
}

bool AcquireJoystick() { return I().joystick && SUCCEEDED(I().joystick->Acquire()); }

void PollJoystickDevice() {
    if (I().joystick) I().joystick->Poll();
}

InputResult GetJoystickState(JoystickState& state) {
    state = JoystickState{};
    if (!I().joystick) return InputResult::Failed;
    DIJOYSTATE read{};
    const InputResult r = Result(I().joystick->GetDeviceState(sizeof read, &read));
    if (r != InputResult::Ok) return r;
    state.x = read.lX;
    state.y = read.lY;
    static_assert(sizeof state.buttons == sizeof read.rgbButtons);
    std::memcpy(state.buttons, read.rgbButtons, sizeof state.buttons);
    return InputResult::Ok;
}

// Each device is let go before it is released.
void ReleaseKeyboardDevice() {
    if (I().keyboard) I().keyboard->Unacquire();
    win32::Release(I().keyboard);
}

void ReleaseJoystickDevice() {
    if (I().joystick) I().joystick->Unacquire();
    win32::Release(I().joystick);
}

void ReleaseInputObject() { win32::Release(I().directInput); }

}  // namespace platform

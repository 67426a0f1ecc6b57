// Player 2's devices on SDL: the keyboard's state by scan code, and the
// first joystick attached at start-up. A device SDL knows as a gamepad is
// read through its gamepad mapping (left stick or d-pad, south and east
// buttons); any other joystick through its raw axes 0 and 1 and buttons 0
// and 1. Both are lost when the window loses the foreground.
#include <SDL.h>

#include <cstring>

#include "platform/platform.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/sdl/sdl_keys.h"

namespace platform {

namespace {

struct Device {
    bool created = false;
    bool formatSet = false;
    bool acquired = false;
    unsigned lossesAtAcquire = 0;
};

struct Input {
    bool object = false;
    Device keyboard;
    Device joystick;
    SDL_GameController* gamepad = nullptr;
    SDL_Joystick* stick = nullptr;
    int32_t minimum[2] = {-32768, -32768};
    int32_t maximum[2] = {32767, 32767};
};

Input& I() {
    static Input input;
    return input;
}

bool Acquire(Device& d) {
    if (!d.created || !d.formatSet || !sdl::WindowIsActive()) return false;
    d.acquired = true;
    d.lossesAtAcquire = sdl::ForegroundLosses();
    return true;
}

InputResult Readable(Device& d) {
    if (!d.created || !d.acquired) return InputResult::Failed;
    if (sdl::ForegroundLosses() != d.lossesAtAcquire) {
        d.acquired = false;
        return InputResult::Lost;
    }
    return InputResult::Ok;
}

// SDL's -32768 .. 32767 onto the range the game set.
int32_t Scale(int value, int axis) {
    const int64_t lo = I().minimum[axis];
    const int64_t hi = I().maximum[axis];
    return static_cast<int32_t>(lo + (static_cast<int64_t>(value) + 32768) * (hi - lo) / 65535);
}

int GamepadAxis(SDL_GameControllerAxis axis, SDL_GameControllerButton negative, SDL_GameControllerButton positive) {
    SDL_GameController* g = I().gamepad;
    if (SDL_GameControllerGetButton(g, negative)) return -32768;
    if (SDL_GameControllerGetButton(g, positive)) return 32767;
    return SDL_GameControllerGetAxis(g, axis);
}

}  // namespace

bool CreateInputObject() {
    // SDL drops joystick input while no window has X's keyboard focus, and
    // that focus comes after the window is shown and active. Whether the
    // game may read its devices is the window's activation, which loses
    // and re-acquires them; SDL's own gate would only lag behind it.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) return false;
    I().object = true;
    return true;
}

bool CreateKeyboardDevice() {
    if (!I().object) return false;
    I().keyboard = Device{true, false, false, 0};
    return true;
}

bool SetKeyboardDataFormat() {
    if (!I().keyboard.created) return false;
    I().keyboard.formatSet = true;
    return true;
}

bool SetKeyboardCooperativeLevel(Window* window) { return I().keyboard.created && window != nullptr; }

bool AcquireKeyboard() { return Acquire(I().keyboard); }

InputResult GetKeyboardState(uint8_t keys[256]) {
    const InputResult r = Readable(I().keyboard);
    if (r != InputResult::Ok) return r;
    std::memset(keys, 0, 256);
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int code = 0; code < 256; ++code) {
        const SDL_Scancode sc = sdl::ScancodeOfKeyboardCode(code);
        if (sc != SDL_SCANCODE_UNKNOWN && sc < count && state[sc]) keys[code] = 0x80;
    }
    return InputResult::Ok;
}

bool FindJoystick() {
    Input& in = I();
    if (!in.object) return false;
    // The first attached device that can be opened.
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_IsGameController(i)) {
            in.gamepad = SDL_GameControllerOpen(i);
            if (in.gamepad) break;
        } else {
            in.stick = SDL_JoystickOpen(i);
            if (in.stick) break;
        }
    }
    if (!in.gamepad && !in.stick) return false;
    in.joystick = Device{true, false, false, 0};
    return true;
}

bool SetJoystickDataFormat() {
    if (!I().joystick.created) return false;
    I().joystick.formatSet = true;
    return true;
}

bool SetJoystickCooperativeLevel(Window* window) { return I().joystick.created && window != nullptr; }

bool SetJoystickAxisRange(int axisOffset, int32_t minimum, int32_t maximum) {
    if (!I().joystick.created || minimum >= maximum) return false;
    const int axis = axisOffset == 0 ? 0 : axisOffset == 4 ? 1 : -1;
    if (axis < 0) return false;
    I().minimum[axis] = minimum;
    I().maximum[axis] = maximum;
    return true;
}

bool AcquireJoystick() { return Acquire(I().joystick); }

void PollJoystickDevice() {
    if (I().gamepad) SDL_GameControllerUpdate();
    if (I().stick) SDL_JoystickUpdate();
}

InputResult GetJoystickState(JoystickState& state) {
    const InputResult r = Readable(I().joystick);
    if (r != InputResult::Ok) return r;
    Input& in = I();
    state = JoystickState{};
    int x = 0, y = 0;
    bool b0 = false, b1 = false;
    if (in.gamepad) {
        x = GamepadAxis(SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        y = GamepadAxis(SDL_CONTROLLER_AXIS_LEFTY, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        b0 = SDL_GameControllerGetButton(in.gamepad, SDL_CONTROLLER_BUTTON_A);
        b1 = SDL_GameControllerGetButton(in.gamepad, SDL_CONTROLLER_BUTTON_B);
    } else if (in.stick) {
        x = SDL_JoystickGetAxis(in.stick, 0);
        y = SDL_JoystickGetAxis(in.stick, 1);
        b0 = SDL_JoystickGetButton(in.stick, 0);
        b1 = SDL_JoystickGetButton(in.stick, 1);
    } else {
        return InputResult::Failed;
    }
    state.x = Scale(x, 0);
    state.y = Scale(y, 1);
    state.buttons[0] = b0 ? 0x80 : 0;
    state.buttons[1] = b1 ? 0x80 : 0;
    return InputResult::Ok;
}

void ReleaseKeyboardDevice() { I().keyboard = Device{}; }

void ReleaseJoystickDevice() {
    Input& in = I();
    if (in.gamepad) SDL_GameControllerClose(in.gamepad);
    if (in.stick) SDL_JoystickClose(in.stick);
    in.gamepad = nullptr;
    in.stick = nullptr;
    in.joystick = Device{};
}

void ReleaseInputObject() {
    if (I().object) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    I().object = false;
}

}  // namespace platform

// The headless backend's own controls, for tests and the replay tool: no
// window and no audio device. The caller holds keys and moves the joystick,
// the clock advances exactly 1000/60 ms per presented frame, the last
// presented frame is kept, and every effect played, music command and
// message box is recorded (message boxes are also printed to stderr).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::headless {

// Set-up steps a test can make fail.
enum class Step {
    RegisterWindowClass,
    CreateMainWindow,
    CreatePresenter,
    SetCooperativeLevel,
    SetDisplayMode,
    CreatePrimarySurface,
    GetAttachedBackBuffer,
    CreateSurfaceMemory,
    CreateClipper,
    SetClipperWindow,
    AttachClipper,
    CreateSoundDevice,
    SetSoundCooperativeLevel,
    CreatePrimarySoundBuffer,
    CreateSoundBuffer,
    OpenMusic,
    CreateInputObject,
    CreateKeyboardDevice,
    SetKeyboardDataFormat,
    SetKeyboardCooperativeLevel,
    SetJoystickDataFormat,
    SetJoystickCooperativeLevel,
    Count
};

// Makes the step fail from now on (every call), or work again.
void FailStep(Step step, bool fail = true);

// What the backend recorded, in order.
enum class EventKind {
    MessageBox,     // text, caption, owned
    EffectPlayed,   // name: the effect's file name
    MusicCommand,   // name: "open", "play", "stop", "close"; text: file or ""
    WindowDestroyed,
    PresenterReleased,  // count: surfaces still alive
    Released,       // name: what was released ("keyboard device", "sound buffer Hit.wav", ...)
};
struct Event {
    EventKind kind;
    std::string name;
    std::string text;
    std::string caption;
    bool owned = false;
    int count = 0;
};
const std::vector<Event>& Events();
void ClearEvents();

// Keys, by virtual-key code. Holding a key that was up posts its WM_KEYDOWN
// once; HoldKey on a held key posts an auto-repeat WM_KEYDOWN.
void HoldKey(int virtualKey);
void ReleaseKey(int virtualKey);
void ReleaseAllKeys();

// A joystick attached at start-up (before the game looks for one).
void AttachJoystick(bool attached = true);
void SetJoystick(int32_t x, int32_t y, bool button0, bool button1);

// Activation: posts WM_ACTIVATEAPP and WM_ACTIVATE; losing the foreground
// loses the input devices. The window starts active once shown.
void SetActive(bool active);
// Posts the completion notice of the music now playing, as its end would.
void FinishMusic();
// Posts WM_CLOSE, as the window's Close command does.
void PostClose();

// Called each time the message queue is found empty, once per idle turn
// (turn 1 comes before the first frame); the hook may hold keys or post
// messages for the coming frame. Called with the turn number.
void SetIdleHook(std::function<void(int turn)> hook);
// Called after each presented frame with the frame's pixels (320 x 240,
// pitch 320; valid during the call) and the number of frames presented so
// far. While a hook is set the hook is the frame's only reader: LastFrame
// keeps the last frame presented without one.
void SetPresentHook(std::function<void(const uint32_t* pixels, int frame)> hook);

// Back to the backend as a new process finds it: no window, no keys held,
// nothing failing, no records, no hooks, the clock at zero. Surface memory
// the game never released goes with it.
void Reset();

// The last frame presented while no present hook was set (320 x 240,
// empty before the first) and the number of frames presented.
const std::vector<uint32_t>& LastFrame();
int PresentedFrames();
bool IsFullScreen();
bool MusicPlaying();
bool WindowExists();

}  // namespace platform::headless

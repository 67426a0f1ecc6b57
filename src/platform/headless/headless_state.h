// The headless backend's state, shared by its parts.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/shared/surface_memory.h"

namespace platform {
struct Window {
    int unused;
};
}  // namespace platform

namespace platform::headless::detail {

struct DeviceState {
    bool created = false;
    bool formatSet = false;
    bool acquired = false;
    bool lost = false;
};

struct SoundBufferRecord {
    std::string name;
};

struct State {
    // window and messages
    WindowProc proc = nullptr;
    Window window = {};
    bool windowExists = false;
    bool active = false;
    bool fullScreenStyle = false;
    int windowX = 100, windowY = 100;
    std::deque<Message> queue;
    bool hookCalledThisTurn = false;
    int idleTurn = 0;
    std::function<void(int)> idleHook;
    std::function<void(const uint32_t*, int)> presentHook;

    // keys
    std::array<bool, 256> keys = {};

    // set-up steps that fail
    std::array<bool, static_cast<size_t>(Step::Count)> failAlways = {};

    std::vector<Event> events;

    // presenter
    bool presenter = false;
    bool fullScreen = false;
    std::vector<uint32_t> primary;
    std::vector<uint32_t> attachedBack;
    bool clipper = false;
    LiveSurfaces liveSurfaces;
    std::vector<uint32_t> lastFrame;
    int presented = 0;

    // sound and music
    bool soundDevice = false;
    bool primarySound = false;
    uint32_t nextMusicId = 1;
    uint32_t openMusicId = 0;
    uint32_t playingMusicId = 0;
    Window* musicNotify = nullptr;

    // input
    bool inputObject = false;
    DeviceState keyboard;
    DeviceState joystick;
    bool joystickAttached = false;
    int32_t joyX = 0, joyY = 0;
    bool joyButton0 = false, joyButton1 = false;
};

State& S();
// Counts a call of the step and tells whether it is to fail.
bool Fails(Step step);
void Record(Event event);

}  // namespace platform::headless::detail

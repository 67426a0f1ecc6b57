// The headless window: a message queue with no display behind it. The
// window procedure receives what a real window's would; the caller drives
// keys, activation and closing, and hooks into every idle turn.
#include <cstdio>

#include "platform/headless/headless_state.h"

namespace platform {

using headless::Step;
using headless::detail::Fails;
using headless::detail::S;

namespace {

using headless::detail::State;

intptr_t Send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    State& s = S();
    if (!s.proc || !s.windowExists) return 0;
    return s.proc(&s.window, message, wParam, lParam);
}

void Post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    State& s = S();
    s.queue.push_back(Message{&s.window, message, wParam, lParam});
}

void PostMoveAndSize() {
    Post(WM_MOVE, 0, 0);
    Post(WM_SIZE, 0, 0);
}

}  // namespace

bool RegisterWindowClass(WindowProc proc) {
    if (Fails(Step::RegisterWindowClass)) return false;
    S().proc = proc;
    return true;
}

Window* CreateMainWindow() {
    State& s = S();
    if (Fails(Step::CreateMainWindow) || !s.proc) return nullptr;
    s.windowExists = true;
    Send(WM_CREATE, 0, 0);
    return &s.window;
}

void ShowMainWindow(Window*) {
    State& s = S();
    if (!s.windowExists) return;
    // Showing a new window gives it the foreground.
    s.active = true;
    Send(WM_ACTIVATEAPP, 1, 0);
    Send(WM_ACTIVATE, WA_ACTIVE, 0);
    Send(WM_SIZE, 0, 0);
    Send(WM_MOVE, 0, 0);
}

bool PeekMessage(Message& out) {
    State& s = S();
    if (s.queue.empty() && !s.hookCalledThisTurn) {
        s.hookCalledThisTurn = true;
        if (s.idleHook) s.idleHook(s.idleTurn + 1);
    }
    if (!s.queue.empty()) {
        out = s.queue.front();
        s.queue.pop_front();
        return true;
    }
    ++s.idleTurn;
    s.hookCalledThisTurn = false;
    return false;
}

void WaitMessage() {
    State& s = S();
    if (s.queue.empty() && !s.hookCalledThisTurn) {
        s.hookCalledThisTurn = true;
        if (s.idleHook) s.idleHook(s.idleTurn + 1);
    }
    if (s.queue.empty()) {
        // Nothing will ever arrive: close the window rather than hang.
        std::fprintf(stderr, "headless: waiting with nothing to wait for; closing the window\n");
        Post(WM_CLOSE, 0, 0);
    }
}

intptr_t DispatchMessage(const Message& message) {
    if (message.message == WM_QUIT) return 0;
    return Send(message.message, message.wParam, message.lParam);
}

intptr_t DefWindowProc(Window*, uint32_t message, uintptr_t, intptr_t) {
    State& s = S();
    if (message == WM_CLOSE && s.windowExists) {
        Send(WM_DESTROY, 0, 0);
        s.windowExists = false;
        s.active = false;
        headless::detail::Record({headless::EventKind::WindowDestroyed, "", "", "", false, 0});
    }
    return 0;
}

void PostMessage(Window*, uint32_t message, uintptr_t wParam, intptr_t lParam) { Post(message, wParam, lParam); }

void PostQuitMessage(int exitCode) { Post(WM_QUIT, static_cast<uintptr_t>(exitCode), 0); }

Rect GetClientRect(Window*) { return Rect{0, 0, 320, 240}; }

void ClientToScreen(Window*, int32_t& x, int32_t& y) {
    const State& s = S();
    x += s.fullScreenStyle ? 0 : s.windowX;
    y += s.fullScreenStyle ? 0 : s.windowY;
}

void SetWindowStyle(Window*, uint32_t style) { S().fullScreenStyle = (style & WS_POPUP) != 0; }

void SetWindowPos(Window*, int x, int y, int, int) {
    State& s = S();
    s.windowX = x;
    s.windowY = y;
    PostMoveAndSize();
}

bool IsKeyDown(int virtualKey) { return S().keys[static_cast<size_t>(virtualKey) & 0xFF]; }

}  // namespace platform

namespace platform::headless {

using detail::S;
using detail::State;

void HoldKey(int virtualKey) {
    State& s = S();
    s.keys[static_cast<size_t>(virtualKey) & 0xFF] = true;
    s.queue.push_back(Message{&s.window, WM_KEYDOWN, static_cast<uintptr_t>(virtualKey), 0});
}

void ReleaseKey(int virtualKey) { S().keys[static_cast<size_t>(virtualKey) & 0xFF] = false; }

void ReleaseAllKeys() { S().keys.fill(false); }

void SetActive(bool active) {
    State& s = S();
    if (!s.windowExists) return;
    s.active = active;
    if (!active) {
        // A foreground device is lost with the foreground.
        for (detail::DeviceState* d : {&s.keyboard, &s.joystick}) {
            if (d->acquired) {
                d->acquired = false;
                d->lost = true;
            }
        }
    }
    s.queue.push_back(Message{&s.window, WM_ACTIVATEAPP, active ? 1u : 0u, 0});
    s.queue.push_back(Message{&s.window, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0});
}

void PostClose() {
    State& s = S();
    s.queue.push_back(Message{&s.window, WM_CLOSE, 0, 0});
}

}  // namespace platform::headless

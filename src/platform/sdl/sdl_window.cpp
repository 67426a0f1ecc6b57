// The SDL window: SDL's events become the messages the window procedure
// handles, in one queue with the messages the game and the mixer post.
#include <SDL.h>

#include <cstdio>
#include <deque>

#include "platform/platform.h"
#include "platform/game_backend.h"
#include "platform/shared/frame_report.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/sdl/sdl_keys.h"

namespace platform {

struct Window {
    SDL_Window* sdl;
};

namespace {

struct WindowState {
    WindowProc proc = nullptr;
    Window window = {nullptr};
    std::deque<Message> queue;
    Uint32 postedEvent = 0;  // SDL event type of messages posted from other threads
    bool active = false;
    unsigned foregroundLosses = 0;
    int scale = 1;                  // the window's size over the size the game asks for
    bool fullScreenAtStart = false; // F5 sent once the window is first shown
};

WindowState& W() {
    static WindowState state;
    return state;
}

constexpr intptr_t KeyRepeatBit = 0x40000000;  // the key was down before
constexpr intptr_t KeyAltBit = 0x20000000;     // Alt was held

void Queue(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    W().queue.push_back(Message{&W().window, message, wParam, lParam});
}

void Activate(bool active, bool minimised) {
    WindowState& w = W();
    if (active == w.active && !minimised) return;
    w.active = active;
    if (active) {
        Queue(WM_ACTIVATEAPP, 1, 0);
        Queue(WM_ACTIVATE, WA_ACTIVE, 0);
    } else {
        ++w.foregroundLosses;
        // The minimised flag rides in the high word; the application's own
        // deactivation comes last, so the game sleeps while minimised.
        Queue(WM_ACTIVATE, WA_INACTIVE | (minimised ? 0x10000u : 0u), 0);
        Queue(WM_ACTIVATEAPP, 0, 0);
    }
}

void Translate(const SDL_Event& e) {
    WindowState& w = W();
    if (e.type == w.postedEvent && w.postedEvent != 0) {
        Queue(static_cast<uint32_t>(e.user.code), reinterpret_cast<uintptr_t>(e.user.data1),
              reinterpret_cast<intptr_t>(e.user.data2));
        return;
    }
    switch (e.type) {
    case SDL_QUIT:
        Queue(WM_CLOSE, 0, 0);
        break;
    case SDL_KEYDOWN: {
        // A key pressed with Alt (and not Ctrl), and F10, are the system's:
        // they come as WM_SYSKEYDOWN, which the game leaves to the default
        // handling. lParam carries the repeat bit and Alt's context bit.
        const int vk = sdl::VirtualKeyOfScancode(e.key.keysym.scancode);
        if (vk == 0) break;
        const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0 && (e.key.keysym.mod & KMOD_CTRL) == 0;
        const bool system = alt || vk == VK_F10;
        Queue(system ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<uintptr_t>(vk),
              (e.key.repeat ? KeyRepeatBit : 0) | (alt ? KeyAltBit : 0));
        break;
    }
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            Activate(true, false);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            Activate(false, false);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            Activate(false, true);
            break;
        case SDL_WINDOWEVENT_MOVED:
            Queue(WM_MOVE, 0, 0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            Queue(WM_SIZE, 0, 0);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            Queue(WM_CLOSE, 0, 0);
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

void PumpEvents() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e);
}

intptr_t Send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    WindowState& w = W();
    if (!w.proc || !w.window.sdl) return 0;
    return w.proc(&w.window, message, wParam, lParam);
}

}  // namespace

bool RegisterWindowClass(WindowProc proc) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "Tessaline: no window can be opened: %s\n", SDL_GetError());
        return false;
    }
    W().proc = proc;
    W().postedEvent = SDL_RegisterEvents(1);
    if (W().postedEvent == static_cast<Uint32>(-1)) W().postedEvent = 0;
    return true;
}

Window* CreateMainWindow() {
    WindowState& w = W();
    w.window.sdl = SDL_CreateWindow("Tessaline", 100, 100, 320 * w.scale, 240 * w.scale, SDL_WINDOW_HIDDEN);
    if (!w.window.sdl) {
        std::fprintf(stderr, "Tessaline: the window cannot be created: %s\n", SDL_GetError());
        return nullptr;
    }
    Send(WM_CREATE, 0, 0);
    return &w.window;
}

// A new top-level window that is shown is the active window before the
// call returns, its activation already handled by the window procedure:
// the input devices are acquired right after, before any message is read.
// X delivers the focus later, as an event; by then the window is active
// already and that event changes nothing.
void ShowMainWindow(Window* window) {
    if (!window || !window->sdl) return;
    SDL_ShowWindow(window->sdl);
    SDL_RaiseWindow(window->sdl);
    SDL_SetWindowInputFocus(window->sdl);
    WindowState& w = W();
    // Queued, not sent: the game handles it in its message loop, once its
    // display is set up, as it would a player's F5.
    if (w.fullScreenAtStart) {
        w.fullScreenAtStart = false;
        Queue(WM_KEYDOWN, VK_F5, 0);
    }
    if (w.active) return;
    w.active = true;
    Send(WM_ACTIVATEAPP, 1, 0);
    Send(WM_ACTIVATE, WA_ACTIVE, 0);
}

bool PeekMessage(Message& out) {
    PumpEvents();
    WindowState& w = W();
    if (w.queue.empty()) return false;
    out = w.queue.front();
    w.queue.pop_front();
    return true;
}

void WaitMessage() {
    if (!W().queue.empty()) return;
    SDL_Event e;
    if (SDL_WaitEvent(&e)) Translate(e);
}

intptr_t DispatchMessage(const Message& message) {
    if (message.message == WM_QUIT) return 0;
    return Send(message.message, message.wParam, message.lParam);
}

intptr_t DefWindowProc(Window*, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    WindowState& w = W();
    // Alt+F4 is the system's Close command.
    if (message == WM_SYSKEYDOWN && wParam == VK_F4 && (lParam & KeyAltBit) != 0 && w.window.sdl) {
        Queue(WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_CLOSE && w.window.sdl) {
        Send(WM_DESTROY, 0, 0);
        SDL_DestroyWindow(w.window.sdl);
        w.window.sdl = nullptr;
        w.active = false;
    }
    return 0;
}

// A post first gathers what the mixer's thread and SDL have already posted,
// so that messages keep the order they were posted in.
void PostMessage(Window*, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    PumpEvents();
    Queue(message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    PumpEvents();
    Queue(WM_QUIT, static_cast<uintptr_t>(exitCode), 0);
}

Rect GetClientRect(Window* window) {
    int width = 320, height = 240;
    if (window && window->sdl) SDL_GetWindowSize(window->sdl, &width, &height);
    return Rect{0, 0, width, height};
}

void ClientToScreen(Window* window, int32_t& x, int32_t& y) {
    int left = 0, top = 0;
    if (window && window->sdl) SDL_GetWindowPosition(window->sdl, &left, &top);
    x += left;
    y += top;
}

void SetWindowStyle(Window* window, uint32_t style) {
    if (window && window->sdl) SDL_SetWindowBordered(window->sdl, (style & WS_POPUP) ? SDL_FALSE : SDL_TRUE);
}

void SetWindowPos(Window* window, int x, int y, int width, int height) {
    if (!window || !window->sdl) return;
    SDL_SetWindowSize(window->sdl, width * W().scale, height * W().scale);
    SDL_SetWindowPosition(window->sdl, x, y);
    SDL_ShowWindow(window->sdl);
}

bool IsKeyDown(int virtualKey) {
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    return sdl::VirtualKeyHeld(virtualKey, keys, count);
}

uint32_t TimeGetTime() { return SDL_GetTicks(); }

void MessageBox(Window* owner, const char* text, const char* caption) {
    const char* t = text ? text : "";
    const char* c = caption ? caption : "";
    std::fprintf(stderr, "[%s] %s\n", c, t);
    NoteMessage(c, t);
    SDL_Window* parent = owner ? owner->sdl : nullptr;
    // Where no display can show the box, stderr has had the text.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, c, t, parent);
}

namespace game {

void SetWindowScale(int scale) { W().scale = scale; }

void StartInFullScreen() { W().fullScreenAtStart = true; }

std::string ExecutableFolder() {
    char* base = SDL_GetBasePath();
    if (!base) return {};
    std::string folder = base;
    SDL_free(base);
    return folder;
}

void TellPlayer(const std::string& text, bool error) { std::fputs(text.c_str(), error ? stderr : stdout); }

}  // namespace game

namespace sdl {

SDL_Window* MainSdlWindow() { return W().window.sdl; }

void PostMessageFromAnyThread(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const Uint32 type = W().postedEvent;
    if (type == 0) return;
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.user.code = static_cast<Sint32>(message);
    e.user.data1 = reinterpret_cast<void*>(wParam);
    e.user.data2 = reinterpret_cast<void*>(lParam);
    SDL_PushEvent(&e);
}

bool WindowIsActive() { return W().active && W().window.sdl != nullptr; }

unsigned ForegroundLosses() { return W().foregroundLosses; }

}  // namespace sdl

}  // namespace platform

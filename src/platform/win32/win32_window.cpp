// The Windows window: one class and one window, the system's own message
// queue, and a window procedure that hands every message to the game's.
// Also the key state, the clock, the message boxes and what the game's
// entry asks of its backend.
#include <cstdio>
#include <string>

#include "platform/game_backend.h"
#include "platform/platform.h"
#include "platform/shared/frame_report.h"
#include "platform/win32/win32_internal.h"

#include <mmsystem.h>

namespace platform {

namespace {

constexpr DWORD WindowedStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;  // 0xCA0000

struct WindowState {
    WindowProc proc = nullptr;
    HWND window = nullptr;
    int scale = 1;                   // the client area over the size the game asks for
    bool fullScreenAtStart = false;  // F5 posted once the window is first shown
};

WindowState& W() {
    static WindowState state;
    return state;
}

// Every message reaches the game's window procedure, and what the game
// leaves to the default handling comes back through DefWindowProc.
LRESULT CALLBACK Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState& w = W();
    if (message == WM_NCCREATE) w.window = window;
    LRESULT result = w.proc ? w.proc(win32::OfHandle(window), message, wParam, lParam)
                            : ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY && window == w.window) w.window = nullptr;
    return result;
}

}  // namespace

namespace win32 {

HWND MainWindow() { return W().window; }

}  // namespace win32

bool RegisterWindowClass(WindowProc proc) {
    W().proc = proc;
    // The pacer's sleeps and the clock to the millisecond.
    timeBeginPeriod(1);
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = Forward;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WINLOGO));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = "Tessaline";
    if (RegisterClassA(&wc) != 0) return true;
    std::fprintf(stderr, "Tessaline: the window class cannot be registered (%lu)\n", GetLastError());
    return false;
}

Window* CreateMainWindow() {
    WindowState& w = W();
    const RECT r = win32::WindowRectForClient(100, 100, 320 * w.scale, 240 * w.scale, WindowedStyle, 0);
    HWND window = CreateWindowExA(0, "Tessaline", "Tessaline", WindowedStyle, r.left, r.top, r.right - r.left,
                                  r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        std::fprintf(stderr, "Tessaline: the window cannot be created (%lu)\n", GetLastError());
        return nullptr;
    }
    w.window = window;
    return win32::OfHandle(window);
}

// Showing a new top-level window activates it before the call returns: the
// window procedure has seen WM_ACTIVATEAPP and WM_ACTIVATE by then.
void ShowMainWindow(Window* window) {
    if (!window) return;
    HWND handle = win32::Handle(window);
    ShowWindow(handle, SW_SHOWNORMAL);
    UpdateWindow(handle);
    SetForegroundWindow(handle);
    // Posted, not sent: the game handles it in its message loop, once its
    // display is set up, as it would a player's F5.
    if (W().fullScreenAtStart) {
        W().fullScreenAtStart = false;
        PostMessageA(handle, WM_KEYDOWN, VK_F5, 0);
    }
}

bool PeekMessage(Message& out) {
    MSG m;
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) return false;
    out = Message{win32::OfHandle(m.hwnd), m.message, m.wParam, m.lParam};
    return true;
}

void WaitMessage() { ::WaitMessage(); }

intptr_t DispatchMessage(const Message& message) {
    MSG m{};
    m.hwnd = win32::Handle(message.window);
    m.message = message.message;
    m.wParam = message.wParam;
    m.lParam = message.lParam;
    m.time = GetMessageTime();
    TranslateMessage(&m);
    return DispatchMessageA(&m);
}

intptr_t DefWindowProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return ::DefWindowProcA(win32::Handle(window), message, wParam, lParam);
}

void PostMessage(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    PostMessageA(win32::Handle(window), message, wParam, lParam);
}

void PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

Rect GetClientRect(Window* window) {
    RECT r{0, 0, 320, 240};
    if (window) ::GetClientRect(win32::Handle(window), &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}

void ClientToScreen(Window* window, int32_t& x, int32_t& y) {
    POINT p{x, y};
    if (window) ::ClientToScreen(win32::Handle(window), &p);
    x = p.x;
    y = p.y;
}

void SetWindowStyle(Window* window, uint32_t style) {
    if (window) SetWindowLongA(win32::Handle(window), GWL_STYLE, static_cast<LONG>(style));
}

void SetWindowPos(Window* window, int x, int y, int width, int height) {
    if (!window) return;
    HWND handle = win32::Handle(window);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(handle, GWL_EXSTYLE));
    const int scale = W().scale;
    const RECT r = win32::WindowRectForClient(x, y, width * scale, height * scale, style, exStyle);
    ::SetWindowPos(handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

bool IsKeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

uint32_t TimeGetTime() { return timeGetTime(); }

void MessageBox(Window* owner, const char* text, const char* caption) {
    const char* t = text ? text : "";
    const char* c = caption ? caption : "";
    std::fprintf(stderr, "[%s] %s\n", c, t);
    NoteMessage(c, t);
    MessageBoxW(win32::Handle(owner), win32::Utf16(t).c_str(), win32::Utf16(c).c_str(), MB_OK);
}

namespace game {

void SetWindowScale(int scale) { W().scale = scale > 0 ? scale : 1; }

void StartInFullScreen() { W().fullScreenAtStart = true; }

std::string ExecutableFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string folder(path, length);
    for (char& ch : folder) {
        if (ch == '\\') ch = '/';
    }
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

void TellPlayer(const std::string& text, bool error) {
    const HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE) {
        std::FILE* stream = error ? stderr : stdout;
        std::fputs(text.c_str(), stream);
        std::fflush(stream);
        return;
    }
    MessageBoxW(nullptr, win32::Utf16(text.c_str()).c_str(), L"Tessaline",
                MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace game

}  // namespace platform

// What the Windows backend's parts share among themselves. Included after
// platform.h: the Windows headers name many of the platform's routines and
// constants as macros (PeekMessage, MessageBox, WM_CREATE, VK_F1, DIK_Z),
// so the platform's header is read first and those renaming macros are
// dropped here; inside the backend the Windows names stand for the Windows
// values, which are the same numbers as the platform's.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#undef PeekMessage
#undef DispatchMessage
#undef DefWindowProc
#undef PostMessage
#undef MessageBox

namespace platform {

struct Window;

namespace win32 {

inline HWND Handle(Window* window) { return reinterpret_cast<HWND>(window); }
inline Window* OfHandle(HWND window) { return reinterpret_cast<Window*>(window); }

// The main window, or null before it exists and after it is destroyed.
HWND MainWindow();

// A UTF-8 text as UTF-16, for the wide calls that show Japanese text
// whatever the system's code page; empty for null.
std::wstring Utf16(const char* text);
// The outer rectangle of a window of that style whose client area is
// `width` x `height` with its corner at (x, y) on the screen.
RECT WindowRectForClient(int x, int y, int width, int height, DWORD style, DWORD exStyle);

}  // namespace win32

}  // namespace platform

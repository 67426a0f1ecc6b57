// What the Windows backend's parts share among themselves. The Windows
// headers name many of the platform's routines and constants as macros
// (PeekMessage, MessageBox, WM_CREATE, VK_F1, DIK_Z), so platform.h is read
// before them and the macros that would rename its routines are dropped;
// inside the backend the Windows names stand for the Windows values, which
// are the same numbers as the platform's. The system's own entry point,
// WinMain, is declared under another name here: the game's start-up
// routine has that name, and a file may see both.
#pragma once

#include "platform/platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WinMain SystemWinMain
#include <windows.h>
#undef WinMain

#include <string>

#undef PeekMessage
#undef DispatchMessage
#undef DefWindowProc
#undef PostMessage
#undef MessageBox

namespace platform::win32 {

inline HWND Handle(Window* window) { return reinterpret_cast<HWND>(window); }
inline Window* OfHandle(HWND window) { return reinterpret_cast<Window*>(window); }

// Releases a DirectX object and forgets it; null is passed over.
template <typename T>
void Release(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

// The main window, or null before it exists and after it is destroyed.
HWND MainWindow();

// A UTF-8 text as UTF-16, for the wide calls that show Japanese text
// whatever the system's code page; empty for null.
std::wstring Utf16(const char* text);
// The outer rectangle of a window of that style whose client area is
// `width` x `height` with its corner at (x, y) on the screen.
RECT WindowRectForClient(int x, int y, int width, int height, DWORD style, DWORD exStyle);

}  // namespace platform::win32

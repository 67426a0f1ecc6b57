// The small arithmetic of the Windows backend: texts for the wide calls,
// window rectangles for a client area.
#include "platform/platform.h"
#include "platform/win32/win32_internal.h"

namespace platform::win32 {

std::wstring Utf16(const char* text) {
    if (!text || !*text) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));  // the terminator is the string's own
    return wide;
}

RECT WindowRectForClient(int x, int y, int width, int height, DWORD style, DWORD exStyle) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return RECT{x + r.left, y + r.top, x + r.right, y + r.bottom};
}

}  // namespace platform::win32

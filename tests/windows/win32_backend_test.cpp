// The Windows backend's own arithmetic: the game's UTF-8 texts as the wide
// message box takes them, and the outer window that gives the game its
// 320 x 240 client area at 100, 100.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/win32/win32_internal.h"

using platform::win32::Utf16;
using platform::win32::WindowRectForClient;

// The Japanese messages, the short captions, and nothing at all: each
// character once, whatever the system's code page.
TEST(Win32Text, UTF8BecomesUTF16CharacterForCharacter) {
    EXPECT_EQ(Utf16("ERROR"), L"ERROR");
    EXPECT_EQ(Utf16("協調レベルの設定に失敗しました"), L"\u5354\u8abf\u30ec\u30d9\u30eb\u306e\u8a2d\u5b9a\u306b\u5931\u6557\u3057\u307e\u3057\u305f");
    EXPECT_EQ(Utf16("KO.wav が読めません"), L"KO.wav \u304c\u8aad\u3081\u307e\u305b\u3093");
    EXPECT_EQ(Utf16("\xF0\x9F\x8E\xAE"), L"\xD83C\xDFAE");  // beyond the first plane: a surrogate pair
    EXPECT_TRUE(Utf16("").empty());
    EXPECT_TRUE(Utf16(nullptr).empty());
}

// The window's frame goes around the client area: the client's corner and
// size are exactly what was asked, for the windowed style (a caption) and
// for the full screen's popup (no frame at all).
TEST(Win32Window, TheFrameGoesAroundTheClientArea) {
    const DWORD windowed = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    ASSERT_EQ(windowed, 0xCA0000u);
    const RECT frame = WindowRectForClient(100, 100, 320, 240, windowed, 0);
    EXPECT_LT(frame.left, 100);
    EXPECT_LE(frame.top, 100 - GetSystemMetrics(SM_CYCAPTION));  // the caption is above the client
    RECT inner{0, 0, 320, 240};
    AdjustWindowRectEx(&inner, windowed, FALSE, 0);
    EXPECT_EQ(frame.right - frame.left, inner.right - inner.left);
    EXPECT_EQ(frame.bottom - frame.top, inner.bottom - inner.top);
    EXPECT_EQ(frame.left - inner.left, 100);
    EXPECT_EQ(frame.top - inner.top, 100);

    const RECT popup = WindowRectForClient(0, 0, 320, 240, WS_POPUP, 0);
    EXPECT_EQ(popup.left, 0);
    EXPECT_EQ(popup.top, 0);
    EXPECT_EQ(popup.right, 320);
    EXPECT_EQ(popup.bottom, 240);
}

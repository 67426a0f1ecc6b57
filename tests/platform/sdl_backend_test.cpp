// The SDL backend under SDL's dummy video driver: the window's messages,
// messages posted from another thread, the keys, the presenter's count.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/sdl/sdl_keys.h"

using namespace platform;

namespace {

std::vector<uint32_t> received;

intptr_t Proc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    received.push_back(message);
    return message == WM_CLOSE ? DefWindowProc(window, message, wParam, lParam) : 0;
}

Window* Open() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    received.clear();
    if (!RegisterWindowClass(Proc)) return nullptr;
    return CreateMainWindow();
}

}  // namespace

TEST(SdlWindow, CreationSendsCreateAndCloseDestroysThroughTheProcedure) {
    Window* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(received, (std::vector<uint32_t>{WM_CREATE}));
    const Rect r = GetClientRect(w);
    EXPECT_EQ(r.right - r.left, 320);
    EXPECT_EQ(r.bottom - r.top, 240);
    PostMessage(w, WM_CLOSE, 0, 0);
    Message m{};
    while (PeekMessage(m)) DispatchMessage(m);
    ASSERT_GE(received.size(), 3u);
    EXPECT_EQ(received[received.size() - 2], WM_CLOSE);
    EXPECT_EQ(received.back(), WM_DESTROY);
    EXPECT_EQ(sdl::MainSdlWindow(), nullptr);
}

TEST(SdlWindow, AMessagePostedFromAnotherThreadArrivesWhole) {
    ASSERT_NE(Open(), nullptr);
    std::thread poster([] { sdl::PostMessageFromAnyThread(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 7); });
    poster.join();
    Message m{};
    bool found = false;
    for (int i = 0; i < 100 && !found; ++i) {
        while (PeekMessage(m)) {
            if (m.message == MM_MCINOTIFY) {
                found = true;
                break;
            }
        }
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(m.wParam, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(m.lParam, 7);
}

TEST(SdlKeys, EveryKeyTheGameReadsMapsBothWays) {
    const int keys[] = {VK_RETURN, VK_ESCAPE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_C, VK_X, VK_Z,
                        VK_F1,     VK_F2,     VK_F3,   VK_F4, VK_F5,    VK_F6,   '0',  '9'};
    for (int vk : keys) {
        const SDL_Scancode sc = sdl::ScancodeOfVirtualKey(vk);
        EXPECT_NE(sc, SDL_SCANCODE_UNKNOWN) << vk;
        EXPECT_EQ(sdl::VirtualKeyOfScancode(sc), vk) << vk;
    }
    EXPECT_EQ(sdl::ScancodeOfKeyboardCode(DIK_X), SDL_SCANCODE_X);
    EXPECT_EQ(sdl::ScancodeOfKeyboardCode(DIK_LEFT), SDL_SCANCODE_LEFT);
    EXPECT_EQ(sdl::ScancodeOfKeyboardCode(0x01), SDL_SCANCODE_UNKNOWN);
    EXPECT_FALSE(IsKeyDown(0xFF));
}

TEST(SdlPresenter, CountsTheSurfacesLeftAliveAndShowsFrames) {
    Window* w = Open();
    ASSERT_NE(w, nullptr);
    int pitch = 0;
    EXPECT_EQ(CreateSurfaceMemory(4, 4, pitch), nullptr);  // no presenter yet
    ASSERT_TRUE(CreatePresenter(w));
    ASSERT_TRUE(SetCooperativeLevel(w, false));
    uint32_t* primary = CreatePrimarySurface(false, pitch);
    ASSERT_NE(primary, nullptr);
    EXPECT_EQ(pitch, 320);
    EXPECT_EQ(GetAttachedBackBuffer(pitch), nullptr);  // a window has no flip chain
    uint32_t* a = CreateSurfaceMemory(320, 240, pitch);
    uint32_t* b = CreateSurfaceMemory(16, 16, pitch);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(b[0], 0u);
    ReleaseSurfaceMemory(a);
    ASSERT_TRUE(CreateClipper());
    EXPECT_TRUE(SetClipperWindow(w));
    EXPECT_TRUE(AttachClipper());
    primary[0] = 0xFF0000;
    for (int i = 0; i < 3; ++i) ShowPrimarySurface();
    ReleaseClipper();
    EXPECT_EQ(ReleasePresenter(), 1);
    ReleaseSurfaceMemory(b);
}

TEST(SdlMessageBox, WithoutADisplayTheTextGoesToStderr) {
    ASSERT_NE(Open(), nullptr);
    testing::internal::CaptureStderr();
    MessageBox(nullptr, "ファイルをオープン出来ません", "ERROR");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ファイルをオープン出来ません"), std::string::npos);
    EXPECT_NE(err.find("ERROR"), std::string::npos);
}

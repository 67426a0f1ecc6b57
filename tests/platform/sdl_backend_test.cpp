// The SDL backend under SDL's dummy video driver: the window's messages,
// messages posted from another thread, the window's scale and full screen
// at start, the keys, the presenter's count.
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

Window* Open() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    received.clear();
    if (!RegisterWindowClass([](Window* w, uint32_t message, uintptr_t wParam, intptr_t lParam) -> intptr_t {
            received.push_back(message);
            return message == WM_CLOSE ? DefWindowProc(w, message, wParam, lParam) : 0;
        }))
        return nullptr;
    return CreateMainWindow();
}

}  // namespace

TEST(SdlWindow, CreationSendsCreateAndCloseDestroysAndPostsKeepTheirOrderAcrossThreads) {
    Window* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(received, (std::vector<uint32_t>{WM_CREATE}));
    const Rect r = GetClientRect(w);
    EXPECT_EQ(std::make_pair(r.right - r.left, r.bottom - r.top), std::make_pair(320, 240));
    // The music's notice comes from the mixer's thread; a close the game
    // posts after it must not overtake it.
    std::thread([] { sdl::PostMessageFromAnyThread(MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 7); }).join();
    PostMessage(w, WM_CLOSE, 0, 0);
    Message m{}, notice{};
    while (PeekMessage(m)) {
        if (m.message == MM_MCINOTIFY) notice = m;
        DispatchMessage(m);
    }
    std::erase_if(received, [](uint32_t message) {
        return message != WM_CREATE && message != MM_MCINOTIFY && message != WM_CLOSE && message != WM_DESTROY;
    });
    EXPECT_EQ(received, (std::vector<uint32_t>{WM_CREATE, MM_MCINOTIFY, WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(notice.wParam, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(notice.lParam, 7);
    EXPECT_EQ(sdl::MainSdlWindow(), nullptr);
}

// Each key the game reads, named with the key it must be: a table that
// maps consistently but wrongly (Left for Right) still fails here.
TEST(SdlKeys, EachKeyTheGameReadsIsTheKeyItNames) {
    const std::pair<int, SDL_Scancode> virtualKeys[] = {
        {VK_RETURN, SDL_SCANCODE_RETURN}, {VK_RETURN, SDL_SCANCODE_KP_ENTER}, {VK_ESCAPE, SDL_SCANCODE_ESCAPE},
        {VK_LEFT, SDL_SCANCODE_LEFT},     {VK_UP, SDL_SCANCODE_UP},           {VK_RIGHT, SDL_SCANCODE_RIGHT},
        {VK_DOWN, SDL_SCANCODE_DOWN},     {VK_C, SDL_SCANCODE_C},             {VK_X, SDL_SCANCODE_X},
        {VK_Z, SDL_SCANCODE_Z},           {VK_F1, SDL_SCANCODE_F1},           {VK_F2, SDL_SCANCODE_F2},
        {VK_F3, SDL_SCANCODE_F3},         {VK_F4, SDL_SCANCODE_F4},           {VK_F5, SDL_SCANCODE_F5},
        {VK_F6, SDL_SCANCODE_F6},         {VK_F10, SDL_SCANCODE_F10},         {VK_NUMPAD8, SDL_SCANCODE_KP_8},
        {VK_NUMPAD4, SDL_SCANCODE_KP_4},  {VK_NUMPAD5, SDL_SCANCODE_KP_5},    {VK_NUMPAD6, SDL_SCANCODE_KP_6},
        {VK_NUMPAD0, SDL_SCANCODE_KP_0},  {VK_ADD, SDL_SCANCODE_KP_PLUS},
    };
    for (const auto& [vk, sc] : virtualKeys) {
        EXPECT_EQ(sdl::VirtualKeyOfScancode(sc), vk) << SDL_GetScancodeName(sc);
        Uint8 state[SDL_NUM_SCANCODES] = {};
        state[sc] = 1;
        EXPECT_TRUE(sdl::VirtualKeyHeld(vk, state, SDL_NUM_SCANCODES)) << SDL_GetScancodeName(sc);
        for (const auto& [other, unused] : virtualKeys) {
            if (other == vk) continue;
            EXPECT_FALSE(sdl::VirtualKeyHeld(other, state, SDL_NUM_SCANCODES)) << other;
        }
    }
    const std::pair<int, SDL_Scancode> keyboardCodes[] = {
        {DIK_Z, SDL_SCANCODE_Z},       {DIK_X, SDL_SCANCODE_X},         {DIK_UP, SDL_SCANCODE_UP},
        {DIK_LEFT, SDL_SCANCODE_LEFT}, {DIK_RIGHT, SDL_SCANCODE_RIGHT}, {DIK_DOWN, SDL_SCANCODE_DOWN},
        {DIK_NUMPAD8, SDL_SCANCODE_KP_8}, {DIK_NUMPAD4, SDL_SCANCODE_KP_4}, {DIK_NUMPAD5, SDL_SCANCODE_KP_5},
        {DIK_NUMPAD6, SDL_SCANCODE_KP_6}, {DIK_NUMPAD0, SDL_SCANCODE_KP_0}, {DIK_ADD, SDL_SCANCODE_KP_PLUS},
    };
    for (const auto& [code, sc] : keyboardCodes) EXPECT_EQ(sdl::ScancodeOfKeyboardCode(code), sc) << code;
    EXPECT_EQ(sdl::ScancodeOfKeyboardCode(0x4F), SDL_SCANCODE_UNKNOWN);  // the keypad's 1 is nobody's
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
    ReleaseSurfaceMemory(a);  // b is left alive
    ASSERT_TRUE(CreateClipper() && SetClipperWindow(w) && AttachClipper());
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

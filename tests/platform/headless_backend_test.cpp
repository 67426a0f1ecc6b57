// The headless backend's own promises, which the game's tests and the
// replay tool build on.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

std::vector<uint32_t> received;

intptr_t RecordingProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    received.push_back(message);
    if (message == WM_CLOSE) return DefWindowProc(window, message, wParam, lParam);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return 0;
}

Window* OpenWindow() {
    received.clear();
    EXPECT_TRUE(RegisterWindowClass(RecordingProc));
    Window* w = CreateMainWindow();
    EXPECT_NE(w, nullptr);
    ShowMainWindow(w);
    return w;
}

}  // namespace

TEST(HeadlessWindow, IdleHookRunsOncePerTurnAndItsMessagesComeFirst) {
    OpenWindow();
    std::vector<int> turns;
    hl::SetIdleHook([&](int turn) {
        turns.push_back(turn);
        if (turn == 2) hl::HoldKey(VK_X);
    });
    Message m;
    EXPECT_FALSE(PeekMessage(m));  // turn 1: nothing posted
    ASSERT_TRUE(PeekMessage(m));   // turn 2: the hook's key-down
    EXPECT_EQ(m.message, WM_KEYDOWN);
    EXPECT_EQ(m.wParam, static_cast<uintptr_t>(VK_X));
    EXPECT_FALSE(PeekMessage(m));  // still turn 2: no second hook call
    EXPECT_FALSE(PeekMessage(m));  // turn 3
    EXPECT_EQ(turns, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(IsKeyDown(VK_X));
    hl::ReleaseKey(VK_X);
    EXPECT_FALSE(IsKeyDown(VK_X));
}

TEST(HeadlessWindow, CloseDestroysTheWindowThroughTheProcedure) {
    OpenWindow();
    hl::PostClose();
    Message m;
    while (PeekMessage(m) && m.message != WM_QUIT) DispatchMessage(m);
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_FALSE(hl::WindowExists());
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[received.size() - 2], WM_CLOSE);
    EXPECT_EQ(received.back(), WM_DESTROY);
}

TEST(HeadlessWindow, WaitingWithNothingToWaitForClosesInsteadOfHanging) {
    OpenWindow();
    WaitMessage();
    Message m;
    ASSERT_TRUE(PeekMessage(m));
    EXPECT_EQ(m.message, WM_CLOSE);
}

TEST(HeadlessSetUp, AStepFailsAlwaysOrOnItsNthCall) {
    hl::FailStepOnCall(hl::Step::CreatePresenter, 2);
    EXPECT_TRUE(CreatePresenter(nullptr));
    EXPECT_FALSE(CreatePresenter(nullptr));
    EXPECT_TRUE(CreatePresenter(nullptr));
    hl::FailStep(hl::Step::CreateClipper);
    EXPECT_FALSE(CreateClipper());
    hl::FailStep(hl::Step::CreateClipper, false);
    EXPECT_TRUE(CreateClipper());
}

TEST(HeadlessPresenter, CountsSurfacesStillAliveAndKeepsTheShownFrame) {
    ASSERT_TRUE(CreatePresenter(nullptr));
    int pitch = 0;
    uint32_t* primary = CreatePrimarySurface(false, pitch);
    ASSERT_NE(primary, nullptr);
    uint32_t* a = CreateSurfaceMemory(8, 8, pitch);
    uint32_t* b = CreateSurfaceMemory(8, 8, pitch);
    ASSERT_TRUE(a && b);
    ReleaseSurfaceMemory(a);
    primary[0] = 0x123456;
    EXPECT_EQ(TimeGetTime(), 0u);
    ShowPrimarySurface();
    ShowPrimarySurface();
    ShowPrimarySurface();
    EXPECT_EQ(hl::PresentedFrames(), 3);
    EXPECT_EQ(TimeGetTime(), 50u);  // 3 x 1000/60
    EXPECT_EQ(hl::LastFrame()[0], 0x123456u);
    EXPECT_EQ(ReleasePresenter(), 1);
    EXPECT_EQ(CreateSurfaceMemory(8, 8, pitch), nullptr);  // no presenter
}

TEST(HeadlessInput, ALostDeviceReadsNothingUntilAcquiredAgain) {
    OpenWindow();
    ASSERT_TRUE(CreateInputObject());
    ASSERT_TRUE(CreateKeyboardDevice());
    ASSERT_TRUE(SetKeyboardDataFormat());
    ASSERT_TRUE(AcquireKeyboard());
    hl::HoldKey(VK_LEFT);
    uint8_t keys[256];
    ASSERT_EQ(GetKeyboardState(keys), InputResult::Ok);
    EXPECT_EQ(keys[DIK_LEFT], 0x80);
    hl::SetActive(false);
    EXPECT_EQ(GetKeyboardState(keys), InputResult::Lost);
    EXPECT_FALSE(AcquireKeyboard());  // not while in the background
    hl::SetActive(true);
    EXPECT_EQ(GetKeyboardState(keys), InputResult::Lost);
    EXPECT_TRUE(AcquireKeyboard());
    EXPECT_EQ(GetKeyboardState(keys), InputResult::Ok);
}

TEST(HeadlessAudio, RecordsEffectsAndRefusesWhatNoMixerTakes) {
    ASSERT_TRUE(CreateSoundDevice());
    WaveFormat pcm{1, 1, 22050, 22050, 1, 8, 0};
    const uint8_t data[4] = {128, 128, 128, 128};
    SoundBuffer* hit = CreateSoundBuffer("Hit.wav", pcm, data, 4);
    ASSERT_NE(hit, nullptr);
    PlaySoundBuffer(hit);
    ASSERT_EQ(hl::Events().size(), 1u);
    EXPECT_EQ(hl::Events()[0].name, "Hit.wav");
    WaveFormat odd = pcm;
    odd.bitsPerSample = 12;
    EXPECT_EQ(CreateSoundBuffer("Odd.wav", odd, data, 4), nullptr);
    ReleaseSoundBuffer(hit);
}

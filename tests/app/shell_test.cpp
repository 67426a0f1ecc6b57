// The shell: frames only while active, the first frame's one-time set-up,
// the function keys' cycles, the shutdown order.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/shell.h"
#include "display/display.h"
#include "figure/model.h"
#include "support/game_harness.h"
#include "raster/draw.h"
#include "raster/shade.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

size_t IndexOf(const std::vector<std::string>& v, const std::string& s) {
    return static_cast<size_t>(std::find(v.begin(), v.end(), s) - v.begin());
}

std::vector<std::string> Sequence() {
    std::vector<std::string> out;
    for (const hl::Event& e : hl::Events()) {
        switch (e.kind) {
        case hl::EventKind::MusicCommand: out.push_back("music " + e.name); break;
        case hl::EventKind::PresenterReleased: out.push_back("presenter"); break;
        case hl::EventKind::Released: out.push_back(e.name); break;
        case hl::EventKind::WindowDestroyed: out.push_back("window"); break;
        default: break;
        }
    }
    return out;
}

}  // namespace

TEST(Shell, NoFrameRunsWhileInactiveAndTheFirstFrameWaitsForActivation) {
    ASSERT_TRUE(EnterDataFolder());
    int framesWhileInactive = -1;
    int matchWhileInactive = -1;
    RunGame(
        [&](int turn) {
            if (turn == 1) hl::SetActive(false);
            if (turn >= 2 && turn <= 5) {
                framesWhileInactive = hl::PresentedFrames();
                matchWhileInactive = matchStarted;
                // Something to wake the waiting loop; a palette message is ignored.
                PostMessage(mainWindow, WM_PALETTECHANGED, 0, 0);
            }
            if (turn == 5) hl::SetActive(true);
        },
        9);
    EXPECT_EQ(framesWhileInactive, 0);
    EXPECT_EQ(matchWhileInactive, 0);
    EXPECT_GT(hl::PresentedFrames(), 0);
}

TEST(Shell, TheFirstFrameSetsUpTheMatchOnce) {
    ASSERT_TRUE(EnterDataFolder());
    std::vector<std::string> musicAfterFirstFrame;
    bool shadowsOn = false;
    uint32_t floorFlags = 99;
    RunGame(
        [&](int turn) {
            if (turn == 2) {
                musicAfterFirstFrame = EventNames(hl::EventKind::MusicCommand);
                shadowsOn = std::all_of(std::begin(joints), std::end(joints),
                                        [](const Joint& j) { return (j.flags & ShadowOn) != 0; });
                floorFlags = stageJoint.flags & (ShadowOn | OutlineOn);
            }
        },
        6);
    EXPECT_EQ(musicAfterFirstFrame, (std::vector<std::string>{"open", "play"}));
    EXPECT_TRUE(shadowsOn);
    EXPECT_EQ(floorFlags, 0u);
    // Later frames send nothing more to the music while it plays.
    const auto music = EventNames(hl::EventKind::MusicCommand);
    EXPECT_EQ(std::count(music.begin(), music.end(), "play"), 1);
    EXPECT_EQ(std::count(music.begin(), music.end(), "open"), 1);
}

TEST(Shell, FunctionKeysCycleTheirSelectorsBackToTheStart) {
    for (int i = 0; i < 4; ++i) OnKeyDown(nullptr, VK_F1);
    EXPECT_EQ(DrawMode, 0);
    for (int i = 0; i < 3; ++i) OnKeyDown(nullptr, VK_F2);
    EXPECT_EQ(ShadeMode, 1);
    for (int i = 0; i < 5; ++i) OnKeyDown(nullptr, VK_F6);
    EXPECT_EQ(cameraMode, 0);
    OnKeyDown(nullptr, VK_F1);
    OnKeyDown(nullptr, VK_F2);
    OnKeyDown(nullptr, VK_F6);
    EXPECT_EQ(DrawMode, 1);
    EXPECT_EQ(ShadeMode, 2);
    EXPECT_EQ(cameraMode, 1);
    OnKeyDown(nullptr, VK_F3);
    EXPECT_TRUE(std::all_of(std::begin(joints), std::end(joints), [](const Joint& j) { return j.flags == OutlineOn; }));
    OnKeyDown(nullptr, VK_F3);
    OnKeyDown(nullptr, VK_F4);
    OnKeyDown(nullptr, VK_F4);
    EXPECT_TRUE(std::all_of(std::begin(joints), std::end(joints), [](const Joint& j) { return j.flags == 0; }));
    OnKeyDown(nullptr, 'Q');  // any other key is ignored
    EXPECT_EQ(DrawMode, 1);
}

TEST(Shell, ActivationFollowsTheMessagesAsTheyCome) {
    WndProc(nullptr, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(appActive, 0);
    // Minimised (high word set) still counts as active here; the layer
    // sends the application's deactivation after it.
    WndProc(nullptr, WM_ACTIVATE, WA_INACTIVE | 0x10000, 0);
    EXPECT_EQ(appActive, 1);
    WndProc(nullptr, WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(appActive, 0);
    WndProc(nullptr, WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(appActive, 1);
    EXPECT_EQ(WndProc(nullptr, WM_QUERYNEWPALETTE, 0, 0), 0);
}

TEST(Shell, EscShutsDownInOrderAndExitsWithZero) {
    ASSERT_TRUE(EnterDataFolder());
    const int exitCode = RunGame(
        [](int turn) {
            if (turn == 4) hl::HoldKey(VK_ESCAPE);
        },
        0);
    EXPECT_EQ(exitCode, 0);
    const std::vector<std::string> seq = Sequence();
    const std::vector<std::string> expected = {
        "music stop", "music close", "presenter", "keyboard device", "input object", "window",
        "sound buffer KO.wav", "sound buffer Jump.wav", "sound buffer Hit.wav", "sound buffer Attack.wav",
        "sound buffer Sousatu.wav", "primary sound buffer", "sound device"};
    std::vector<std::string> shutdown(seq.begin() + static_cast<long>(IndexOf(seq, "music stop")), seq.end());
    EXPECT_EQ(shutdown, expected);
    EXPECT_EQ(meshes[0].vertices, nullptr);
    EXPECT_EQ(stageMesh.vertices, nullptr);
    EXPECT_TRUE(MessageBoxes().empty());
}

TEST(Shell, F5TwiceReturnsToTheWindowWithoutALeakReport) {
    ASSERT_TRUE(EnterDataFolder());
    bool fullAfterFirst = false;
    RunGame(
        [&](int turn) {
            if (turn == 3) hl::HoldKey(VK_F5);
            if (turn == 5) fullAfterFirst = hl::IsFullScreen() && displayMode == DisplayFullScreen;
            if (turn == 6) hl::HoldKey(VK_F5);
        },
        9);
    EXPECT_TRUE(fullAfterFirst);
    EXPECT_FALSE(hl::IsFullScreen());
    EXPECT_EQ(displayMode, 0 + DisplayWindowed);
    EXPECT_TRUE(MessageBoxes().empty());
    EXPECT_GE(hl::PresentedFrames(), 7);
}

TEST(Shell, AFailingDisplayStepShowsItsOneMessageAndTheGameGoesOn) {
    ASSERT_TRUE(EnterDataFolder());
    hl::FailStep(hl::Step::CreateClipper);
    const int exitCode = RunGame(nullptr, 5);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(MessageBoxes(), (std::vector<std::string>{"ERROR|クリッパー生成に失敗しました"}));
    EXPECT_EQ(hl::PresentedFrames(), 0);
}

TEST(Shell, NoWindowMeansExitCodeZeroAndNoMessage) {
    hl::FailStep(hl::Step::CreateMainWindow);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_TRUE(MessageBoxes().empty());
}

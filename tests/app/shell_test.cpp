// The shell: frames only while active, the first frame's one-time set-up
// and the music it starts, the display switch, failing set-up steps and
// the shutdown order.
#include <gtest/gtest.h>


#include "app/shell.h"
#include "display/display.h"
#include "figure/model.h"
#include "support/game_harness.h"

using namespace platform;
namespace hl = platform::headless;

TEST(Shell, NoFrameRunsWhileInactiveAndTheFirstFrameWaitsForActivation) {
    ASSERT_TRUE(EnterDataFolder());
    int framesWhileInactive = -1, matchWhileInactive = -1;
    RunGame(
        [&](int turn) {
            if (turn == 1) hl::SetActive(false);
            if (turn >= 2 && turn <= 5) {
                framesWhileInactive = hl::PresentedFrames();
                matchWhileInactive = matchStarted;
                PostMessage(mainWindow, WM_PALETTECHANGED, 0, 0);  // wakes the waiting loop, ignored
            }
            if (turn == 5) hl::SetActive(true);
        },
        9);
    EXPECT_EQ(framesWhileInactive, 0);
    EXPECT_EQ(matchWhileInactive, 0);
    EXPECT_GT(hl::PresentedFrames(), 0);
}

// The first frame opens and plays the music, once; the keep-alive plays the
// piece again when it ends. (The shadows it turns on are in every hashed
// frame.)
TEST(Shell, TheFirstFrameStartsTheMusicOnceAndTheMusicLoops) {
    ASSERT_TRUE(EnterDataFolder());
    std::vector<std::string> beforeFirstFrame, afterFirstFrame, afterEnd;
    RunGame(
        [&](int turn) {
            if (turn == 1) beforeFirstFrame = EventNames(hl::EventKind::MusicCommand);
            if (turn == 5) {
                afterFirstFrame = EventNames(hl::EventKind::MusicCommand);
                hl::ClearEvents();
                hl::FinishMusic();
            }
            if (turn == 6) afterEnd = EventNames(hl::EventKind::MusicCommand);
        },
        8);
    EXPECT_TRUE(beforeFirstFrame.empty());
    EXPECT_EQ(afterFirstFrame, (std::vector<std::string>{"open", "play"}));
    EXPECT_EQ(afterEnd, (std::vector<std::string>{"play"}));
}

// The music stops before the display goes; then input, window and sounds.
TEST(Shell, EscShutsDownInOrderAndExitsWithZero) {
    ASSERT_TRUE(EnterDataFolder());
    EXPECT_EQ(RunGame([](int turn) { if (turn == 4) hl::HoldKey(VK_ESCAPE); }, 0), 0);
    std::vector<std::string> order;
    for (const hl::Event& e : hl::Events()) {
        if (e.kind == hl::EventKind::MusicCommand && (e.name == "stop" || !order.empty())) order.push_back("music " + e.name);
        if (order.empty()) continue;
        if (e.kind == hl::EventKind::PresenterReleased) order.push_back("presenter");
        if (e.kind == hl::EventKind::Released) order.push_back(e.name);
        if (e.kind == hl::EventKind::WindowDestroyed) order.push_back("window");
    }
    EXPECT_EQ(order, (std::vector<std::string>{
                         "music stop", "music close", "presenter", "keyboard device", "input object", "window",
                         "sound buffer KO.wav", "sound buffer Jump.wav", "sound buffer Hit.wav",
                         "sound buffer Attack.wav", "sound buffer Sousatu.wav", "primary sound buffer", "sound device"}));
    EXPECT_EQ(meshes[0].vertices, nullptr);
    EXPECT_EQ(stageMesh.vertices, nullptr);
    EXPECT_TRUE(MessageBoxes().empty());
}

// F5 into a full-screen set-up that fails after the mode was set: its one
// message, no presenter, the platform left in full screen. F5 again must
// leave the full screen all the same and show frames in the window again,
// the music playing throughout. (F5 that succeeds is in the frame hashes'
// run.)
TEST(Shell, F5BackFromAFailedFullScreenLeavesTheFullScreen) {
    ASSERT_TRUE(EnterDataFolder());
    bool failedInFullScreen = false, playing = true;
    int framesBeforeBack = 0;
    RunGame(
        [&](int turn) {
            if (turn > 1) playing = playing && hl::MusicPlaying();
            if (turn == 3) {
                hl::FailStep(hl::Step::CreatePrimarySurface);
                hl::HoldKey(VK_F5);
            }
            if (turn == 5) {
                failedInFullScreen = hl::IsFullScreen() && !directDraw && displayMode == DisplayFullScreen;
                framesBeforeBack = hl::PresentedFrames();
                hl::FailStep(hl::Step::CreatePrimarySurface, false);
                hl::HoldKey(VK_F5);
            }
        },
        9);
    EXPECT_TRUE(failedInFullScreen);
    EXPECT_EQ(MessageBoxes(), (std::vector<std::string>{"ERROR|プライマリサーフェース作成に失敗しました"}));
    EXPECT_FALSE(hl::IsFullScreen());
    EXPECT_EQ(displayMode, DisplayWindowed);
    EXPECT_GT(hl::PresentedFrames(), framesBeforeBack);
    EXPECT_TRUE(playing);
}

// A failing display step shows exactly its message and no frame; no music
// or no window means no message; the exit status is 0 either way.
static void ExpectFailingStep(hl::Step step, const std::vector<std::string>& messages, bool frames) {
    ASSERT_TRUE(EnterDataFolder());
    hl::FailStep(step);
    bool playing = false;
    EXPECT_EQ(RunGame([&](int) { playing = playing || hl::MusicPlaying(); }, 6), 0);
    EXPECT_FALSE(playing && step == hl::Step::OpenMusic);
    EXPECT_EQ(MessageBoxes(), messages);
    EXPECT_EQ(hl::PresentedFrames() > 0, frames);
}
TEST(Shell, AFailingClipperShowsItsOneMessage) {
    ExpectFailingStep(hl::Step::CreateClipper, {"ERROR|クリッパー生成に失敗しました"}, false);
}
TEST(Shell, NoMusicFileMeansNoMusicAndNoMessage) { ExpectFailingStep(hl::Step::OpenMusic, {}, true); }
TEST(Shell, NoWindowMeansNoMessage) { ExpectFailingStep(hl::Step::CreateMainWindow, {}, false); }

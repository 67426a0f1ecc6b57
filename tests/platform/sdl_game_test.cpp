// The real game on the SDL backend, in this process: SDL's dummy video
// and audio drivers, a gamepad attached through SDL's virtual joystick
// before start-up, and the game's own start-up order (window created and
// shown, input set up before any message is read). The frame hook watches
// each frame and plays the player's part.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <vector>

#include <SDL.h>

#include "app/battle.h"
#include "app/scenes.h"
#include "app/shell.h"
#include "combat/fighter.h"
#include "devices/input.h"
#include "figure/model.h"
#include "platform/game_backend.h"

using namespace platform;

namespace {

SDL_Joystick* pad = nullptr;
int padIndex = -1;
std::atomic<int> frames{0};
std::function<void(int frame)> perFrame;

void OnFrame() {
    const int frame = ++frames;
    if (frame == 1) startKeySeen = 1;  // the player presses start
    if (perFrame) perFrame(frame);
}

// The game in its data folder with a virtual gamepad (stick, d-pad, A, B)
// plugged in; false when SDL offers no virtual joystick.
bool PlugInGamepad() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(TESSALINE_DATA_DIR) != 0) return false;
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) return false;
    padIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                         SDL_CONTROLLER_BUTTON_MAX, 0);
    if (padIndex < 0) return false;
    pad = SDL_JoystickOpen(padIndex);
    return pad != nullptr && SDL_IsGameController(padIndex);
}

// Each game starts at its first frame with no pad but its own: the pad of
// the game before is unplugged, or the game would find that one first.
struct SdlGame : ::testing::Test {
    void SetUp() override { frames = 0; }
    void TearDown() override {
        perFrame = nullptr;
        platform::game::SetFrameHook(nullptr);
        if (pad) SDL_JoystickClose(pad);
        if (padIndex >= 0) SDL_JoystickDetachVirtual(padIndex);
        pad = nullptr, padIndex = -1;
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    }
};

void Hold(int x, bool a, bool b) {
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, a);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, b);
}

void PushWindowEvent(Uint8 event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    e.window.windowID = 1;
    SDL_PushEvent(&e);
}

bool InFight() { return sceneNumber == BattleSceneNumber && introState >= 4; }

}  // namespace

// The stick, A and B reach player 2's input state, and fighter 2 walks.
TEST_F(SdlGame, AGamepadPluggedInAtStartMovesPlayerTwo) {
    ASSERT_TRUE(PlugInGamepad()) << SDL_GetError();
    std::vector<InputState> seen;
    double startX = 0, endX = 0;
    int start = 0;
    perFrame = [&](int frame) {
        if (!InFight()) return;
        if (start == 0) {
            start = frame;
            startX = joints[Fighter2Base].offset.x;
            Hold(-32768, false, false);
        }
        seen.push_back(inputState);
        if (frame == start + 20) Hold(0, true, true);
        if (frame == start + 30) {
            endX = joints[Fighter2Base].offset.x;
            PostMessage(mainWindow, WM_CLOSE, 0, 0);
        }
    };
    platform::game::SetFrameHook(OnFrame);
    EXPECT_EQ(WinMain(), 0);
    ASSERT_EQ(seen.size(), 31u);
    EXPECT_EQ(seen[10].directions, 2) << "left";
    EXPECT_EQ(seen[25].directions, 0);
    EXPECT_EQ(seen[25].buttons, 3) << "A attacks, B jumps";
    EXPECT_LT(endX, startX - 100.0);
}

// Minimised, the game runs no frames; restored and focused again, the
// gamepad, lost with the foreground, is acquired again and read (the
// reader that meets the loss reports nothing, but the frame's controls
// poll twice, player 2's and player 1's, so every frame shows the pad).
TEST_F(SdlGame, MinimisedTheGameStopsAndRestoredItReadsTheGamepadAgain) {
    ASSERT_TRUE(PlugInGamepad()) << SDL_GetError();
    static std::atomic<int> minimisedAt, framesWhenRestored;
    minimisedAt = 0, framesWhenRestored = -1;
    std::vector<std::pair<int, int>> afterRestore;
    perFrame = [&](int frame) {
        if (!InFight()) return;
        if (minimisedAt == 0) {
            Hold(-32768, true, false);
            minimisedAt = frame;
            PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
            // Restored a while later, from another thread, as the player would.
            SDL_AddTimer(
                200,
                [](Uint32, void*) -> Uint32 {
                    framesWhenRestored = frames.load();
                    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
                    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
                    return 0;
                },
                nullptr);
            return;
        }
        afterRestore.emplace_back(inputState.directions, inputState.buttons);
        if (afterRestore.size() == 5) PostMessage(mainWindow, WM_CLOSE, 0, 0);
    };
    platform::game::SetFrameHook(OnFrame);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(framesWhenRestored.load(), minimisedAt.load()) << "frames ran while minimised";
    EXPECT_EQ(afterRestore, (std::vector<std::pair<int, int>>(5, {2, 1})));
}

// The scene flow: the title's fade, the knock-out and winner lengths, the
// banner choice, the winner and the match reset.
#include <gtest/gtest.h>

#include "app/battle.h"
#include "app/scenes.h"
#include "app/shell.h"
#include "combat/fighter.h"
#include "figure/model.h"
#include "support/game_harness.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

// The scene after each frame, frame 1 first.
std::vector<int> ScenesOver(int frames, const std::function<void(int)>& beforeFrame) {
    std::vector<int> scenes;
    RunGame(
        [&](int turn) {
            if (turn > 1) scenes.push_back(sceneNumber);
            if (beforeFrame) beforeFrame(turn);
        },
        frames + 1);
    return scenes;
}

int FirstFrameIn(const std::vector<int>& scenes, int scene, int from = 1) {
    for (size_t i = static_cast<size_t>(from - 1); i < scenes.size(); ++i) {
        if (scenes[i] == scene) return static_cast<int>(i) + 1;
    }
    return -1;
}

}  // namespace

TEST(Scenes, XHeldFromTheStartStillFadesTheTitleFor38Frames) {
    ASSERT_TRUE(EnterDataFolder());
    std::vector<int> fades;
    const auto scenes = ScenesOver(45, [&](int turn) {
        if (turn == 1) hl::HoldKey(VK_X);
        if (turn > 1) fades.push_back(titleFade);
    });
    // The 38th frame switches, so the 39th is the battle's first.
    EXPECT_EQ(FirstFrameIn(scenes, BattleSceneNumber), 38);
    EXPECT_EQ(fades[0], 218);
    EXPECT_EQ(fades[36], 2);
    EXPECT_EQ(fades[37], 224);
}

TEST(Scenes, EnterStartsTooAndAReleasedKeyDoesNotStopTheFade) {
    ASSERT_TRUE(EnterDataFolder());
    const auto scenes = ScenesOver(60, [&](int turn) {
        if (turn == 10) hl::HoldKey(VK_RETURN);
        if (turn == 11) hl::ReleaseKey(VK_RETURN);
    });
    EXPECT_EQ(FirstFrameIn(scenes, BattleSceneNumber), 10 + 37);
}

TEST(Scenes, KnockOutAndWinnerLast43FramesEachThenTheMatchIsReset) {
    ASSERT_TRUE(EnterDataFolder());
    std::vector<int> koFades;
    const auto scenes = ScenesOver(100, [&](int turn) {
        if (turn == 5) {
            sceneNumber = KnockOutSceneNumber;
            fighter2.health = 0;
            SetJointOffset(joints[0], -500.0, 256.0, 40.0);
        }
        if (turn > 5 && sceneNumber == KnockOutSceneNumber) koFades.push_back(koFade);
    });
    const int winner = FirstFrameIn(scenes, WinnerSceneNumber);
    const int title = FirstFrameIn(scenes, TitleSceneNumber, winner);
    EXPECT_EQ(winner - 5 + 1, 43);  // frames 5..47 are the knock-out scene
    EXPECT_EQ(title - winner, 43);
    ASSERT_GE(koFades.size(), 2u);
    EXPECT_EQ(koFades[0], 6);
    // After the reset: full health, the roots at their start places, the title at 224.
    EXPECT_EQ(fighter1.health, 1000);
    EXPECT_EQ(fighter2.health, 1000);
    EXPECT_EQ(fighter1.ringOut, 0);
    EXPECT_EQ(titleFade, 224);
    EXPECT_EQ(winFade, 0);
    EXPECT_EQ(joints[15].offset.x, 124.0);
    EXPECT_EQ(joints[0].offset.x, -324.0);
    EXPECT_EQ(joints[0].offset.z, -100.0);
}

TEST(Scenes, TheWinnerIsGivenTheVictoryMotionAndADoubleKnockOutGoesToFighterTwo) {
    ASSERT_TRUE(EnterDataFolder());
    int winner1 = -1, winner2 = -1;
    RunGame(
        [&](int turn) {
            if (turn == 3) {
                sceneNumber = WinnerSceneNumber;
                fighter1.health = 0;
                fighter2.health = 0;
            }
            if (turn == 4) {
                winner1 = fighter1.motion.nextMotion;
                winner2 = fighter2.motion.nextMotion;
            }
        },
        5);
    EXPECT_EQ(winner1, 0);
    EXPECT_EQ(winner2, 5);
}

TEST(Scenes, ARingOutOfFighterOneMakesFighterTwoTheWinner) {
    ASSERT_TRUE(EnterDataFolder());
    int nextMotion2 = -1;
    int health1 = -1;
    RunGame(
        [&](int turn) {
            if (turn == 3) {
                sceneNumber = BattleSceneNumber;
                SetJointOffset(joints[0], 1460.0, 256.0, -100.0);
            }
            if (turn == 50) sceneNumber = WinnerSceneNumber;
            if (turn == 51) {
                nextMotion2 = fighter2.motion.nextMotion;
                health1 = fighter1.health;
            }
        },
        52);
    EXPECT_EQ(health1, 0);
    EXPECT_EQ(nextMotion2, 5);
}

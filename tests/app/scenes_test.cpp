// The scene flow: the title's fade, the knock-out and winner lengths, the
// winner and the match reset.
#include <gtest/gtest.h>

#include "app/battle.h"
#include "app/scenes.h"
#include "app/shell.h"
#include "combat/fighter.h"
#include "combat/playback.h"
#include "figure/model.h"
#include "support/game_harness.h"

using namespace platform;
namespace hl = platform::headless;

// A start key, held or tapped, starts a fade of 38 frames; the 38th
// frame switches to the battle. (Each game run is a test of its own: the
// game's values are put back to their start only between tests.)
static void ExpectTitleFade(int key, int pressAt, int releaseAt) {
    ASSERT_TRUE(EnterDataFolder());
    int battle = -1;  // the frame that switched
    RunGame(
        [&](int turn) {
            if (battle < 0 && sceneNumber == BattleSceneNumber) battle = turn - 1;
            if (turn == pressAt) hl::HoldKey(key);
            if (turn == releaseAt) hl::ReleaseKey(key);
        },
        61);
    EXPECT_EQ(battle, pressAt + 37);
}
TEST(Scenes, XHeldFromTheStartFadesTheTitleFor38Frames) { ExpectTitleFade(VK_X, 1, 0); }
TEST(Scenes, ATappedEnterFadesItAllTheSame) { ExpectTitleFade(VK_RETURN, 10, 11); }

// Frames 5 to 47 are the knock-out scene, 43 winner frames follow, then
// the match is reset. A double knock-out goes to fighter 2.
static void ExpectEndOfMatch(int health1) {
    ASSERT_TRUE(EnterDataFolder());
    int winnerFrame = -1, titleFrame = -1;
    uint16_t victory[2] = {};
    RunGame(
        [&](int turn) {
            if (turn == 5) {
                sceneNumber = KnockOutSceneNumber;
                fighter1.health = health1;
                fighter2.health = 0;
                SetJointOffset(joints[0], -500.0, 256.0, 40.0);
            }
            if (sceneNumber == WinnerSceneNumber && winnerFrame < 0) winnerFrame = turn - 1;
            if (sceneNumber == WinnerSceneNumber && turn == winnerFrame + 2) {
                victory[0] = fighter1.motion.nextMotion;
                victory[1] = fighter2.motion.nextMotion;
            }
            if (sceneNumber == TitleSceneNumber && winnerFrame > 0 && titleFrame < 0) titleFrame = turn - 1;
        },
        101);
    EXPECT_EQ(winnerFrame, 47);
    EXPECT_EQ(titleFrame - winnerFrame, 43);
    EXPECT_EQ(victory[health1 > 0 ? 0 : 1], TakeUp);
    EXPECT_NE(victory[health1 > 0 ? 1 : 0], TakeUp);
    EXPECT_EQ(fighter1.health, 1000);
    EXPECT_EQ(fighter2.health, 1000);
    EXPECT_EQ(fighter1.ringOut, 0);
    EXPECT_EQ(titleFade, 224);
    EXPECT_EQ(winFade, 0);
    EXPECT_EQ(joints[0].offset.x, -324.0);
    EXPECT_EQ(joints[0].offset.z, -100.0);
    EXPECT_EQ(joints[15].offset.x, 124.0);
}

TEST(Scenes, KnockOutAndWinnerLast43FramesEachThenTheMatchIsReset) { ExpectEndOfMatch(1000); }
TEST(Scenes, ADoubleKnockOutGoesToFighterTwo) { ExpectEndOfMatch(0); }

// The scene flow off the scripted runs: a double knock-out's winner and the
// match reset. (The title's fade and a plain knock-out's scenes are pinned
// by the frame hashes, the ring-out's by the replay tests.)
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

// A double knock-out goes to fighter 2: frames 5 to 47 are the knock-out
// scene, 43 winner frames follow, then the match is reset.
TEST(Scenes, ADoubleKnockOutGoesToFighterTwoAndTheMatchIsReset) {
    ASSERT_TRUE(EnterDataFolder());
    int winnerFrame = -1, titleFrame = -1;
    uint16_t victory[2] = {};
    RunGame(
        [&](int turn) {
            if (turn == 5) {
                sceneNumber = KnockOutSceneNumber;
                fighter1.health = 0;
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
    EXPECT_EQ(victory[1], TakeUp);
    EXPECT_NE(victory[0], TakeUp);
    EXPECT_EQ(fighter1.health, 1000);
    EXPECT_EQ(fighter2.health, 1000);
    EXPECT_EQ(fighter1.ringOut, 0);
    EXPECT_EQ(titleFade, 224);
    EXPECT_EQ(winFade, 0);
    EXPECT_EQ(joints[0].offset.x, -324.0);
    EXPECT_EQ(joints[0].offset.z, -100.0);
    EXPECT_EQ(joints[15].offset.x, 124.0);
}

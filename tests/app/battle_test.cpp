// The battle scene: the end of the fight with its banner and sound, and the
// health bars at values the fights never reach. (The intro's fades are
// pinned by the frame hashes.)
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/battle.h"
#include "app/shell.h"
#include "combat/fighter.h"
#include "figure/model.h"
#include "support/game_harness.h"

namespace hl = platform::headless;

// A ring-out ends the fight silently, with its own banner, even when a
// fighter is knocked out in the same frame.
static void ExpectEndOfFight(bool ringOut) {
    ASSERT_TRUE(EnterDataFolder());
    int sceneAfter = -1;
    RunGame(
        [&](int turn) {
            if (turn == 2) sceneNumber = BattleSceneNumber;
            if (turn == 10) {
                fighter1.health = 0;
                if (ringOut) SetJointOffset(joints[15], 124.0, 256.0, 2460.0);
                hl::ClearEvents();
            }
            if (turn == 11) sceneAfter = sceneNumber;
        },
        12);
    EXPECT_EQ(sceneAfter, KnockOutSceneNumber);
    EXPECT_EQ(fighter2.ringOut, ringOut ? 1 : 0);
    const auto sounds = EventNames(hl::EventKind::EffectPlayed);
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "KO.wav"), ringOut ? 0 : 1);
    EXPECT_EQ(introState, 0);
    EXPECT_EQ(introAlpha, 255);
    EXPECT_EQ(introScale, 0.3f);
}

TEST(Battle, AKnockOutEndsTheFightWithItsSound) { ExpectEndOfFight(false); }
TEST(Battle, ARingOutWinsOverAKnockOutInTheSameFrame) { ExpectEndOfFight(true); }

TEST(Battle, HealthBarsAreElevenPointsAPixelAndNeverLonger) {
    const struct {
        int width, value, maximum, length;
    } cases[] = {{90, 11, 1000, 1}, {90, 10, 1000, 0}, {90, -50, 1000, 0}, {90, 1500, 1000, 90},
                 {90, 50, 80, 0},   {0, 50, 80, 0}};  // a maximum below the width: nothing, no division by zero
    for (const auto& c : cases) {
        std::vector<uint32_t> pixels(320 * 240, 0);
        Surface surface{320, 240, 320, pixels.data(), 0, MemoryKind::System, false, 0};
        DrawHealthBar(&surface, 10, 14, c.width, 8, c.value, c.maximum);
        for (int row : {13, 14, 21, 22}) {
            const auto line = pixels.begin() + row * 320;
            const long drawn = std::count(line, line + 320, 0x0000D8u);
            EXPECT_EQ(drawn, row == 13 || row == 22 ? 0 : c.length) << c.value << "/" << c.maximum << " row " << row;
        }
        EXPECT_EQ(pixels[14 * 320 + 10] != 0, c.length > 0) << "the bar starts at its x";
    }
    DrawHealthBar(nullptr, 10, 14, 90, 8, 50, 1000);
}

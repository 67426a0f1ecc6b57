// The battle scene: the intro's weights and scale, the end of the fight
// with its banner and sound, the health bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/battle.h"
#include "app/shell.h"
#include "combat/fighter.h"
#include "figure/model.h"
#include "support/game_harness.h"

namespace hl = platform::headless;

TEST(Battle, TheIntroRunsItsFourFadesIn104Frames) {
    ASSERT_TRUE(EnterDataFolder());
    std::vector<int> weights;
    int finalState = -1;
    RunGame(
        [&](int turn) {
            if (turn == 2) sceneNumber = BattleSceneNumber;
            if (turn > 2) weights.push_back(introAlpha);
            if (turn == 2 + 105) finalState = introState;
        },
        2 + 106);
    // Each banner fades the picture down to 5 and the live frame back up.
    std::vector<int> banner;
    for (int w = 245; w >= 5; w -= 10) banner.push_back(w);
    banner.push_back(5);
    for (int w = 15; w <= 255; w += 10) banner.push_back(w);
    banner.push_back(255);
    std::vector<int> expected = banner;
    expected.insert(expected.end(), banner.begin(), banner.end());
    ASSERT_GE(weights.size(), expected.size());
    EXPECT_EQ(std::vector<int>(weights.begin(), weights.begin() + 104), expected);
    // Twelve steps of 0.1 from 0.3, each stored as a 32-bit float.
    float scale = 0.3f;
    for (int i = 0; i < 12; ++i) scale = static_cast<float>(static_cast<double>(scale) + 0.1);
    EXPECT_EQ(introScale, scale);
    EXPECT_EQ(finalState, 4);
}

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
    } cases[] = {{90, 1000, 1000, 90}, {90, 999, 1000, 90}, {90, 500, 1000, 45}, {90, 11, 1000, 1},
                 {90, 10, 1000, 0},    {90, -50, 1000, 0},  {90, 1500, 1000, 90},
                 {90, 50, 80, 0},      {0, 50, 80, 0}};  // a maximum below the width: nothing, no division by zero
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

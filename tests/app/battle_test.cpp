// The battle scene: the intro's weights and scale, the end of the fight,
// the health bars.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/battle.h"
#include "app/shell.h"
#include "combat/fighter.h"
#include "figure/model.h"
#include "support/game_harness.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

struct Canvas {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(320 * 240, 0);
    Surface surface{320, 240, 320, pixels.data(), 0, MemoryKind::System, false, 0};
    int Length(int row) const {
        int n = 0;
        for (int x = 0; x < 320; ++x) n += pixels[static_cast<size_t>(row) * 320 + x] == 0x0000D8;
        return n;
    }
};

}  // namespace

TEST(Battle, TheIntroRunsItsFourFadesIn104Frames) {
    ASSERT_TRUE(EnterDataFolder());
    std::vector<int> weights;
    std::vector<int> states;
    float finalScale = 0;
    RunGame(
        [&](int turn) {
            if (turn == 2) sceneNumber = BattleSceneNumber;
            if (turn > 2 && turn <= 2 + 106) {
                weights.push_back(introAlpha);
                states.push_back(introState);
                finalScale = introScale;
            }
        },
        2 + 107);
    std::vector<int> expected;
    for (int w = 245; w >= 5; w -= 10) expected.push_back(w);
    expected.push_back(5);
    for (int w = 15; w <= 255; w += 10) expected.push_back(w);
    expected.push_back(255);
    const std::vector<int> firstBanner = expected;
    expected.insert(expected.end(), firstBanner.begin(), firstBanner.end());
    ASSERT_EQ(expected.size(), 104u);
    ASSERT_GE(weights.size(), 105u);
    EXPECT_EQ(std::vector<int>(weights.begin(), weights.begin() + 104), expected);
    EXPECT_EQ(states[103], 4);
    EXPECT_EQ(states[104], 4);
    // Twelve steps of 0.1 from 0.3, each stored as a 32-bit float.
    float scale = 0.3f;
    for (int i = 0; i < 12; ++i) scale = static_cast<float>(static_cast<double>(scale) + 0.1);
    EXPECT_EQ(finalScale, scale);
    EXPECT_GT(finalScale, 1.5f);
}

TEST(Battle, AKnockOutEndsTheFightWithItsSoundAndResetsTheIntro) {
    ASSERT_TRUE(EnterDataFolder());
    int sceneAfter = -1;
    RunGame(
        [&](int turn) {
            if (turn == 2) sceneNumber = BattleSceneNumber;
            if (turn == 10) {
                fighter1.health = 0;
                hl::ClearEvents();
            }
            if (turn == 11) sceneAfter = sceneNumber;
        },
        12);
    EXPECT_EQ(sceneAfter, KnockOutSceneNumber);
    const auto sounds = EventNames(hl::EventKind::EffectPlayed);
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "KO.wav"), sounds.end());
    EXPECT_EQ(introState, 0);
    EXPECT_EQ(introAlpha, 255);
    EXPECT_EQ(introScale, 0.3f);
}

TEST(Battle, ARingOutEndsTheFightSilently) {
    ASSERT_TRUE(EnterDataFolder());
    int sceneAfter = -1;
    RunGame(
        [&](int turn) {
            if (turn == 2) sceneNumber = BattleSceneNumber;
            if (turn == 10) {
                SetJointOffset(joints[15], 124.0, 256.0, 2460.0);
                hl::ClearEvents();
            }
            if (turn == 11) sceneAfter = sceneNumber;
        },
        12);
    EXPECT_EQ(sceneAfter, KnockOutSceneNumber);
    EXPECT_EQ(fighter2.ringOut, 1);
    EXPECT_EQ(fighter2.health, 0);
    const auto sounds = EventNames(hl::EventKind::EffectPlayed);
    EXPECT_EQ(std::find(sounds.begin(), sounds.end(), "KO.wav"), sounds.end());
}

TEST(Battle, HealthBarsAreElevenPointsAPixelAndNeverLonger) {
    const struct {
        int value, length;
    } cases[] = {{1000, 90}, {999, 90}, {500, 45}, {11, 1}, {10, 0}, {0, 0}, {-50, 0}, {1500, 90}};
    for (const auto& c : cases) {
        Canvas canvas;
        DrawHealthBar(&canvas.surface, 10, 14, 90, 8, c.value, 1000);
        EXPECT_EQ(canvas.Length(14), c.length) << c.value;
        EXPECT_EQ(canvas.Length(21), c.length) << c.value;
        EXPECT_EQ(canvas.Length(22), 0) << c.value;
        EXPECT_EQ(canvas.Length(13), 0) << c.value;
        if (c.length > 0) {
            EXPECT_EQ(canvas.pixels[14 * 320 + 10], 0x0000D8u);
        }
    }
}

TEST(Battle, AHealthBarWithAMaximumBelowItsWidthDrawsNothing) {
    Canvas canvas;
    DrawHealthBar(&canvas.surface, 10, 14, 90, 8, 50, 80);
    DrawHealthBar(&canvas.surface, 10, 14, 0, 8, 50, 80);
    EXPECT_EQ(canvas.Length(14), 0);
    DrawHealthBar(nullptr, 10, 14, 90, 8, 50, 1000);
}

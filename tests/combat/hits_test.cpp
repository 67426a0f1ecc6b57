// The hit pass on parts reduced to spheres placed by hand: both blows in
// one frame, the order of the tests, the knock-back, the contact boundary.
#include "combat/hits.h"

#include "combat/combat_fixture.h"
#include "combat/movement.h"
#include "combat/playback.h"

namespace {

constexpr int Root1 = 0, Weapon1 = 14, Root2 = 15, Weapon2 = 29;

class Hits : public ::testing::Test {
protected:
    void SetUp() override {
        FillSineTable();
        platform::headless::ClearEvents();
        for (Fighter& f : fighters) f = Fighter{0, TakeOffSpeed, 0.0, 0.0, 1000, 1000, {}, {}, 0};
        knockBack[0] = knockBack[1] = 0.0;
        joints[Root1].offset = {-324.0, 256.0, -100.0};
        joints[Root2].offset = {124.0, 256.0, -100.0};
        FaceFighters();
        parts.Place(Root1, joints[Root1].offset, 64.0);
        parts.Place(Root2, joints[Root2].offset, 64.0);
    }
    void Strike(int weapon, int target) { parts.Place(weapon, parts.Centre(target), 192.0); }
    Effects effects;
    SphereParts parts;
};

TEST_F(Hits, BothFightersScoreInOneFrameEachBlowOnce) {
    fighter1.actionFlags = AttackActive;
    fighter2.actionFlags = AttackActive | Finisher;
    Strike(Weapon1, Root2);
    Strike(Weapon2, Root1);
    ResolveHits();
    ResolveHits();  // the blades still there: both have scored already
    EXPECT_EQ(fighter1.health, 900);
    EXPECT_EQ(fighter1.motion.nextMotion, RightDamage);
    EXPECT_EQ(fighter2.health, 900);
    EXPECT_EQ(fighter2.motion.nextMotion, UpDamage);
    for (const Fighter& f : fighters) EXPECT_EQ(f.motion.motionFlags, Locked | Blending);
    EXPECT_EQ(knockBack[1], 0.0);  // a first attack does not knock back
    EXPECT_EQ(EffectsPlayed(), (std::vector<std::string>{"Hit.wav", "Hit.wav"}));
}

TEST_F(Hits, ABladeOnBothBodyAndGuardIsACleanHitNotACancel) {
    fighter1.actionFlags = AttackActive;
    Strike(Weapon1, Root2);
    parts.Place(Weapon2, parts.Centre(Root2), 32.0);  // the defender's blade in the way too
    ResolveHits();
    EXPECT_EQ(fighter2.motion.nextMotion, UpDamage);
    EXPECT_EQ(fighter2.health, 900);
    EXPECT_FALSE(fighter1.actionFlags & AttackActive);
    EXPECT_EQ(EffectsPlayed(), std::vector<std::string>{"Hit.wav"});
}

TEST_F(Hits, AFinishersKnockBackSlowsTwiceAFrameAwayFromTheAttacker) {
    fighter1.actionFlags = AttackActive | Finisher;
    Strike(Weapon1, Root2);
    ResolveHits();
    EXPECT_EQ(knockBack[1], FinisherKnockBack);
    EXPECT_EQ(joints[Root2].offset.x, 124.0);  // it starts sliding next frame
    ResolveHits();
    EXPECT_NEAR(joints[Root2].offset.x, 124.0 + 25.22 + 24.44, 1e-9);
    for (int f = 0; f < 20; ++f) ResolveHits();
    EXPECT_NEAR(joints[Root2].offset.x, 124.0 + 420.42, 1e-9);  // 25.22 + 24.44 + ... + 0.26
    EXPECT_NEAR(joints[Root2].offset.z, -100.0, 1e-9);
    EXPECT_EQ(joints[Root1].offset.x, -324.0);
}

TEST_F(Hits, PartsTouchUpToTheSumOfTheirRadiiAndPaintTheSecond) {
    ResolveHits();  // everything apart: the tested parts show green
    for (int k : {Root1, Root2, Weapon1, Weapon2, 18, 21}) EXPECT_EQ(parts.Colour(k), 0x00FF00u) << k;
    EXPECT_TRUE(EffectsPlayed().empty());

    parts.Place(3, {0.0, 0.0, 0.0}, 30.0);
    parts.Place(18, {30.0, 40.0, 0.0}, 20.0);
    EXPECT_TRUE(PartsTouch(joints[3], joints[18]));
    EXPECT_EQ(parts.Colour(18), 0xFF0000u);
    EXPECT_EQ(parts.Colour(3), 0u);
    parts.Place(18, {30.0, 40.0, 0.001}, 20.0);
    EXPECT_FALSE(PartsTouch(joints[3], joints[18]));
    joints[18].mesh = nullptr;  // a part without a mesh touches nothing
    EXPECT_FALSE(PartsTouch(joints[3], joints[18]));
}

TEST_F(Hits, HealthFallsBelowZeroButNeverWrapsRound) {
    fighter2.health = INT32_MIN + 30;
    fighter1.actionFlags = AttackActive;
    Strike(Weapon1, Root2);
    ResolveHits();
    EXPECT_EQ(fighter2.health, INT32_MIN);
}

}  // namespace

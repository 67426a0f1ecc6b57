// The hit pass with the parts reduced to spheres placed by hand: clean
// hits, cancels, body contact and knock-back, in both directions.
#include "combat/hits.h"

#include "combat/combat_fixture.h"
#include "combat/movement.h"
#include "combat/playback.h"

namespace {

constexpr int Root1 = 0, Weapon1 = 14, Root2 = 15, Weapon2 = 29;
constexpr uint32_t Red = 0xFF0000, Green = 0x00FF00;

class Hits : public ::testing::Test {
protected:
    void SetUp() override {
        FillSineTable();
        platform::headless::ClearEvents();
        for (Fighter& f : fighters) {
            f = Fighter{};
            f.health = 1000;
            f.jumpSpeed = TakeOffSpeed;
        }
        knockBack[0] = knockBack[1] = 0.0;
        // The start places, standing; the roots face each other.
        joints[Root1].offset = {-324.0, 256.0, -100.0};
        joints[Root2].offset = {124.0, 256.0, -100.0};
        FaceFighters();
        parts.Place(Root1, {-324.0, 256.0, -100.0}, 64.0);
        parts.Place(Root2, {124.0, 256.0, -100.0}, 64.0);
    }
    // A blade onto a part's sphere.
    void Strike(int weapon, int target) { parts.Place(weapon, parts.Centre(target), 192.0); }
    Effects effects;
    SphereParts parts;
};

TEST_F(Hits, WithEverythingApartNothingHappensAndTheTestedPartsShowGreen) {
    ResolveHits();
    for (const Fighter& f : fighters) {
        EXPECT_EQ(f.health, 1000);
        EXPECT_EQ(f.motion.motionFlags, 0);
    }
    for (int k : {Root1, Root2, Weapon1, Weapon2, 18, 21}) EXPECT_EQ(parts.Colour(k), Green) << k;
    EXPECT_TRUE(EffectsPlayed().empty());
}

TEST_F(Hits, AFirstAttackLandsOnceWithoutKnockBack) {
    fighter1.actionFlags = AttackActive;
    Strike(Weapon1, Root2);
    ResolveHits();
    EXPECT_EQ(fighter2.health, 900);
    EXPECT_EQ(fighter2.motion.nextMotion, UpDamage);
    EXPECT_EQ(fighter2.motion.motionFlags, Locked | Blending);
    EXPECT_EQ(fighter2.motion.frameCounter, 0);
    EXPECT_EQ(fighter1.actionFlags & AttackActive, 0u);
    EXPECT_EQ(EffectsPlayed(), std::vector<std::string>{"Hit.wav"});

    ResolveHits();  // the blade still there: the attack has scored already
    EXPECT_EQ(fighter2.health, 900);
    EXPECT_EQ(joints[Root2].offset.x, 124.0);
    EXPECT_EQ(knockBack[1], 0.0);
    EXPECT_EQ(EffectsPlayed().size(), 1u);
}

TEST_F(Hits, BothFightersCanScoreInOneFrame) {
    fighter1.actionFlags = AttackActive;
    fighter2.actionFlags = AttackActive | Finisher;
    Strike(Weapon1, Root2);
    parts.Place(Weapon2, {-324.0, 256.0, -100.0}, 192.0);
    ResolveHits();
    EXPECT_EQ(fighter1.health, 900);
    EXPECT_EQ(fighter1.motion.nextMotion, RightDamage);
    // Fighter 1's knock-back started at once, in the second half of the pass.
    EXPECT_EQ(knockBack[0], FinisherKnockBack - 0.78);
    EXPECT_NEAR(joints[Root1].offset.x, -324.0 - knockBack[0], 1e-9);
    EXPECT_EQ(fighter2.health, 900);
    EXPECT_EQ(fighter2.motion.nextMotion, UpDamage);
    EXPECT_EQ(knockBack[1], 0.0);
    EXPECT_EQ(EffectsPlayed(), (std::vector<std::string>{"Hit.wav", "Hit.wav"}));
}

TEST_F(Hits, AFinisherKnocksTheDefenderBackAwayFromTheAttacker) {
    fighter1.actionFlags = AttackActive | Finisher;
    fighter2.health = 900;
    Strike(Weapon1, Root2);
    ResolveHits();
    EXPECT_EQ(fighter2.health, 800);
    EXPECT_EQ(fighter2.motion.nextMotion, RightDamage);
    EXPECT_EQ(knockBack[1], 26.0);
    EXPECT_EQ(knockBack[0], 0.0);

    // Lowered by 0.78 at each half of the pass and moved by what is left:
    // 25.22 + 24.44 + ... + 0.26, away along the line between the roots.
    double expected = 0.0;
    for (double v = 26.0 - 0.78; v > 0.0; v -= 0.78) expected += v;
    for (int f = 0; f < 20; ++f) ResolveHits();
    EXPECT_NEAR(joints[Root2].offset.x - 124.0, expected, 1e-9);
    EXPECT_NEAR(expected, 420.42, 1e-6);
    EXPECT_NEAR(joints[Root2].offset.z, -100.0, 1e-9);
    EXPECT_EQ(joints[Root1].offset.x, -324.0);
    EXPECT_LE(knockBack[1], 0.0);
}

TEST_F(Hits, ACleanHitWinsOverACancel) {
    fighter1.actionFlags = AttackActive;
    Strike(Weapon1, Root2);
    parts.Place(Weapon2, {124.0, 256.0, -100.0}, 192.0);  // the defender's blade there too
    ResolveHits();
    EXPECT_EQ(fighter2.motion.nextMotion, UpDamage);
    EXPECT_EQ(EffectsPlayed(), std::vector<std::string>{"Hit.wav"});
}

TEST_F(Hits, BladesThatMeetCancelBothAttacksEachWithItsClash) {
    fighter1.actionFlags = AttackActive;
    fighter2.actionFlags = AttackActive;
    parts.Place(Weapon1, {-100.0, 600.0, -100.0}, 192.0);
    parts.Place(Weapon2, {-100.0, 600.0, -100.0}, 192.0);
    ResolveHits();
    for (const Fighter& f : fighters) {
        EXPECT_EQ(f.motion.nextMotion, DownGrad);
        EXPECT_EQ(f.motion.motionFlags, Blending);  // not locked
        EXPECT_EQ(f.actionFlags & AttackActive, 0u);
        EXPECT_EQ(f.health, 1000);
    }
    EXPECT_EQ(parts.Colour(Weapon1), Red);
    EXPECT_EQ(parts.Colour(Weapon2), Red);
    EXPECT_EQ(EffectsPlayed(), (std::vector<std::string>{"Sousatu.wav", "Sousatu.wav"}));

    // Only an attack under way is cancelled.
    platform::headless::ClearEvents();
    fighters[0] = fighters[1] = Fighter{};
    fighter2.actionFlags = AttackActive;
    ResolveHits();
    EXPECT_EQ(fighter1.motion.nextMotion, DownGrad);
    EXPECT_EQ(fighter2.motion.nextMotion, Way);
    EXPECT_EQ(EffectsPlayed().size(), 1u);
}

TEST_F(Hits, ADefenderHitDuringItsOwnAttackKeepsItsAttack) {
    fighter1.actionFlags = AttackActive;
    fighter2.actionFlags = AttackActive;
    Strike(Weapon1, Root2);  // fighter 2's blade is far away
    ResolveHits();
    EXPECT_EQ(fighter2.motion.nextMotion, UpDamage);
    EXPECT_TRUE(fighter2.motion.motionFlags & Locked);
    EXPECT_TRUE(fighter2.actionFlags & AttackActive);

    parts.Place(Weapon2, {-324.0, 256.0, -100.0}, 192.0);  // and it can still score
    ResolveHits();
    EXPECT_EQ(fighter1.health, 900);
}

TEST_F(Hits, BodiesThatTouchShoveAndLoseTwoHealthAFrameEach) {
    parts.Place(Root2, {-300.0, 256.0, -100.0}, 64.0);
    fighter1.motion.motionFlags = Requested;
    for (int f = 1; f <= 3; ++f) {
        ResolveHits();
        EXPECT_EQ(fighter1.health, 1000 - 2 * f);
        EXPECT_EQ(fighter2.health, 1000 - 2 * f);
    }
    for (const Fighter& f : fighters) {
        EXPECT_EQ(f.motion.nextMotion, UpGrad);
        EXPECT_EQ(f.motion.frameCounter, 0);
        EXPECT_TRUE(f.motion.motionFlags & Blending);
    }
    EXPECT_TRUE(fighter1.motion.motionFlags & Requested);
    // Both roots are shoved twice a frame, fighter 1 along its heading and
    // fighter 2 along the mirror of its own: here both toward +x.
    EXPECT_NEAR(joints[Root1].offset.x, -324.0 + 48.0, 1e-9);
    EXPECT_NEAR(joints[Root2].offset.x, 124.0 + 48.0, 1e-9);
    EXPECT_TRUE(EffectsPlayed().empty());

    // The arms count too, when the bodies are apart.
    parts.Place(Root2, {124.0, 256.0, -100.0}, 64.0);
    parts.Place(3, {0.0, 0.0, 0.0}, 32.0);
    parts.Place(18, {0.0, 60.0, 0.0}, 48.0);
    ResolveHits();
    EXPECT_EQ(fighter1.health, 992);
    EXPECT_EQ(parts.Colour(18), Red);
}

TEST_F(Hits, PartsTouchWhenTheDistanceIsAtMostTheSumOfTheRadii) {
    parts.Place(3, {0.0, 0.0, 0.0}, 30.0);
    parts.Place(18, {30.0, 40.0, 0.0}, 20.0);
    EXPECT_TRUE(PartsTouch(joints[3], joints[18]));
    EXPECT_EQ(parts.Colour(18), Red);
    EXPECT_EQ(parts.Colour(3), 0u);  // only the second part is painted
    parts.Place(18, {30.0, 40.0, 0.001}, 20.0);
    EXPECT_FALSE(PartsTouch(joints[3], joints[18]));
    EXPECT_EQ(parts.Colour(18), Green);

    // A part without a mesh touches nothing and is not painted.
    Mesh* kept = joints[18].mesh;
    joints[18].mesh = nullptr;
    EXPECT_FALSE(PartsTouch(joints[3], joints[18]));
    joints[18].mesh = kept;
}

TEST_F(Hits, HealthFallsBelowZeroButNeverWrapsRound) {
    fighter2.health = 50;
    fighter1.actionFlags = AttackActive;
    Strike(Weapon1, Root2);
    ResolveHits();
    EXPECT_EQ(fighter2.health, -50);
    fighter2.health = INT32_MIN + 30;
    fighter1.actionFlags = AttackActive;
    ResolveHits();
    EXPECT_EQ(fighter2.health, INT32_MIN);
}

}  // namespace

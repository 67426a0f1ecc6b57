// The hit pass on parts reduced to spheres placed by hand: both blows in
// one frame, the order of the tests, the knock-back, the contact boundary.
#include "combat/hits.h"

#include "combat/combat_fixture.h"

constexpr int Root1 = 0, Weapon1 = 14, Root2 = 15, Weapon2 = 29;

// Each part a mesh of two vertices 1 either side of its centre along x.
static Vec3 verts[JointCount][2];
static Face faces[JointCount][2];

static void Place(int joint, Vec3 c, double radius) {
    verts[joint][0] = {c.x - 1.0, c.y, c.z}, verts[joint][1] = {c.x + 1.0, c.y, c.z}, joints[joint].radius = radius;
}

class Hits : public ::testing::Test {
protected:
    void SetUp() override {
        FillSineTable();
        fighter1 = fighter2 = FreshFighter();
        knockBack[0] = knockBack[1] = 0.0;
        for (int k = 0; k < JointCount; ++k) {
            meshes[k] = {verts[k], faces[k], 2, 2}, faces[k][1].colour = 0;
            joints[k] = Joint{}, joints[k].mesh = &meshes[k], joints[k].worldVerts = verts[k];
            Place(k, {10000.0 * (k + 1), 0.0, 0.0}, 1.0);  // far apart from each other
        }
        PlaceRoots();
        for (int root : {Root1, Root2}) Place(root, joints[root].offset, 64.0);
        FaceFighters();
    }
    void TearDown() override { std::ranges::fill(joints, Joint{}), std::ranges::fill(meshes, Mesh{}); }
    void Strike(int weapon, int target, double radius = 192.0) { Place(weapon, joints[target].offset, radius); }
    Effects effects;
};

TEST_F(Hits, BothScoreInOneFrameEachBlowOnceAndAFinisherKnocksBackTwiceAFrame) {
    fighter1.actionFlags = AttackActive;
    fighter2.actionFlags = AttackActive | Finisher;
    fighter1.health = INT32_MIN + 30;  // long dead: health holds at the bottom of its range
    Strike(Weapon1, Root2);
    Strike(Weapon2, Root1);
    ResolveHits();
    EXPECT_NEAR(joints[Root1].offset.x, -324.0 - 25.22, 1e-9);  // away from fighter 2, slowed once already
    for (int f = 0; f < 22; ++f) ResolveHits();  // the blades still there: both have scored already
    EXPECT_EQ(fighter1.health, INT32_MIN);
    EXPECT_EQ(fighter1.motion.nextMotion, RightDamage);
    EXPECT_EQ(fighter2.health, 900);
    EXPECT_EQ(fighter2.motion.nextMotion, UpDamage);
    for (const Fighter& f : fighters) EXPECT_EQ(f.motion.motionFlags, Locked | Blending);
    EXPECT_NEAR(joints[Root1].offset.x, -324.0 - 420.42, 1e-9);  // 25.22 + 24.44 + ... + 0.26
    EXPECT_EQ(joints[Root2].offset.x, 124.0);  // a first attack does not knock back
    EXPECT_EQ(EffectsPlayed(), (std::vector<std::string>{"Hit.wav", "Hit.wav"}));
}

TEST_F(Hits, ABladeOnBothBodyAndGuardIsACleanHitNotACancel) {
    fighter1.actionFlags = AttackActive;
    Strike(Weapon1, Root2);
    Strike(Weapon2, Root2, 32.0);  // the defender's blade in the way too
    ResolveHits();
    EXPECT_EQ(fighter2.motion.nextMotion, UpDamage);
    EXPECT_EQ(fighter2.health, 900);
    EXPECT_EQ(EffectsPlayed(), std::vector<std::string>{"Hit.wav"});
}

TEST_F(Hits, PartsTouchUpToTheSumOfTheirRadiiAndPaintTheSecond) {
    Place(3, {0.0, 0.0, 0.0}, 30.0);
    Place(18, {30.0, 40.0, 0.0}, 20.0);
    EXPECT_TRUE(PartsTouch(joints[3], joints[18]));
    EXPECT_EQ(faces[18][1].colour, 0xFF0000u);
    EXPECT_EQ(faces[3][1].colour, 0u);
    Place(18, {30.0, 40.0, 0.001}, 20.0);
    EXPECT_FALSE(PartsTouch(joints[3], joints[18]));
    EXPECT_EQ(faces[18][1].colour, 0x00FF00u);
    joints[18].mesh = nullptr;  // a part without a mesh touches nothing
    EXPECT_FALSE(PartsTouch(joints[3], joints[18]));
}

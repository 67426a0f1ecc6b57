// Whole battle frames through the real passes (controls, figure update, hit
// pass) on the built figures, with plain motions made here: the guard holds
// the weapon arm back, both attacks hold it out toward the opponent.
#include "combat/combat_fixture.h"
#include "combat/controls.h"
#include "combat/hits.h"
#include "devices/input.h"
#include "figure/passes.h"

namespace hl = platform::headless;
using platform::VK_RIGHT, platform::VK_X;

static void NoInput() { inputState = {}; }
static double RootDistance() { return PartDistance(joints[0], joints[15]); }

class Gameplay : public ::testing::Test {
protected:
    void SetUp() override {
        FillSineTable();
        pollInput = NoInput;
        BuildFigures();
        for (Fighter& f : fighters) {
            f = FreshFighter();
            SetKeyCountMotions(f, 10, 2);  // the others end on the key before the last, played in the blend out
            for (uint16_t m = 0; m < MotionCount; ++m)
                for (int k = 0; k < motionFiles[m].keys; ++k) {
                    MotionKey& key = f.motions[m][k];
                    key.rawEntries[2].angles[2] = (m == Slay || m == YokoGiri) ? 384 : 128;  // the weapon arm
                    key.rawEntries[4].angles[0] = 64;  // the blade leaning the way the arm points
                    RestoreKey(key);
                }
        }
        Frames(10);  // standing, settled into the guard
    }
    void TearDown() override { FreeFigures(); }
    void Frames(int count) { while (count--) RunControls(), UpdateFigures(), ResolveHits(); }
    void Press(int key, int frames) { hl::HoldKey(key), Frames(frames), hl::ReleaseKey(key); }
    Effects effects;
};

TEST_F(Gameplay, AttacksAtBladeRangeCancel) {
    pollInput = [] { inputState = {0, 0x1}; };  // player 2 attacks in the same frame
    Press(VK_X, 1);
    pollInput = NoInput;
    Frames(5);
    for (const Fighter& f : fighters) EXPECT_TRUE(f.health == 1000 && f.motion.nextMotion == DownGrad) << f.health;
    EXPECT_EQ(TimesPlayed("Sousatu.wav"), 2);
}

TEST_F(Gameplay, TouchingBodiesAreShovedStraightApartLosingTwoHealthAFrameUntilTheyPart) {
    for (const Vec3 line : {Vec3{1.0, 0.0, 0.0}, Vec3{0.0, 0.0, 1.0}}) {
        SCOPED_TRACE(line.x ? "on the x line" : "on the z line");
        PlaceRoots();
        Vec3 &root1 = joints[0].offset, &root2 = joints[15].offset;
        root2 = {root1.x + 40.0 * line.x, root1.y, root1.z + 40.0 * line.z};
        const Vec3 start1 = root1, start2 = root2;
        fighter1.health = fighter2.health = 1000;
        std::string lost;  // the health fighter 1 lost in each frame
        for (int f = 0, health = 1000; f < 40; ++f, health = fighter1.health) {
            Frames(1);
            lost += char('0' + health - fighter1.health);
            if (f == 0) {
                EXPECT_TRUE(fighter1.motion.nextMotion == UpGrad && fighter2.motion.nextMotion == UpGrad);
            }
        }
        EXPECT_EQ(lost, "222" + std::string(37, '0'));
        EXPECT_EQ(fighter2.health, fighter1.health);
        // Each touching frame shoves each body 8 back from the other in both
        // halves of the hit pass; once apart, nobody moves.
        EXPECT_NEAR(root1.x, start1.x - 48.0 * line.x, 1e-9);
        EXPECT_NEAR(root1.z, start1.z - 48.0 * line.z, 1e-9);
        EXPECT_NEAR(root2.x, start2.x + 48.0 * line.x, 1e-9);
        EXPECT_NEAR(root2.z, start2.z + 48.0 * line.z, 1e-9);
    }
    // Two roots on one spot (a jump landing on the opponent) part as well.
    PlaceRoots();
    joints[15].offset = joints[0].offset;
    Frames(10);
    const int health = fighter1.health;
    Frames(1);
    EXPECT_EQ(fighter1.health, health);
    EXPECT_GT(RootDistance(), 40.0);
}

TEST_F(Gameplay, AWalkerPushesAnIdleOpponentOnlyWhileHeWalks) {
    Vec3 &walker = joints[0].offset, &idle = joints[15].offset;
    int shoves = 0;
    hl::HoldKey(VK_RIGHT);
    for (int f = 0; f < 120; ++f) {
        const double x1 = walker.x, x2 = idle.x;
        Frames(1);
        // A touching frame takes back the walker's step of 8 and 8 more,
        // and moves the opponent 16 away; otherwise only the walker steps.
        const bool touched = idle.x - x2 > 1.0;
        shoves += touched;
        EXPECT_NEAR(walker.x - x1, touched ? -8.0 : 8.0, 1e-9) << f;
        EXPECT_NEAR(idle.x - x2, touched ? 16.0 : 0.0, 1e-9) << f;
        if (HasFailure()) break;
    }
    hl::ReleaseKey(VK_RIGHT);
    EXPECT_GE(shoves, 20);  // one frame in four once they meet
    const Vec3 stopped = idle;
    const int health = fighter2.health;
    Frames(400);
    EXPECT_TRUE(idle.x == stopped.x && idle.z == stopped.z) << idle.x;  // he slides no further
    EXPECT_EQ(fighter2.health, health);
    EXPECT_EQ(fighter2.ringOut, 0);
}

TEST_F(Gameplay, FightersWalkingIntoEachOtherBounceOffAndNeverPassThrough) {
    pollInput = [] { inputState = {0x2, 0}; };  // player 2 walks left
    hl::HoldKey(VK_RIGHT);
    for (int f = 0; f < 200; ++f) {
        Frames(1);
        EXPECT_LT(joints[0].offset.x, joints[15].offset.x) << f;
        EXPECT_NEAR(joints[0].offset.x + joints[15].offset.x, -200.0, 1e-9) << f;  // each as far from the middle
        if (HasFailure()) break;
    }
    hl::ReleaseKey(VK_RIGHT);
    EXPECT_TRUE(fighter1.health < 1000 && fighter2.health == fighter1.health) << fighter1.health;  // they did meet
}

// Jumping, gravity, the floor and the stage bounds. Facing and moving along
// a heading show in the knock-back and walk of the hit and gameplay tests.
#include "combat/movement.h"

#include <limits>

#include "combat/combat_fixture.h"

class Movement : public ::testing::Test {
protected:
    void SetUp() override {
        FillSineTable();
        fighter = FreshFighter();
        stageJoint.offset = {};
        joints[0].offset = {-324.0, 0.0, -100.0};
    }
    void Frame() { JumpStep(fighter, 0), GravityStep(0, fighter), StageCheck(0, fighter); }  // the vertical part
    double& y() { return joints[0].offset.y; }
    bool OnTheFloor() { return y() >= 256.0 && y() < 256.01; }
    Fighter fighter;
};

TEST_F(Movement, AJumpRisesSevenPointZeroTwoFirstThenFallsFasterUpToTheCapAndLands) {
    Frame();  // from the build's height 0 up to the floor in one frame
    ASSERT_TRUE(OnTheFloor()) << y();
    const double ground = y();
    fighter.actionFlags |= Airborne;
    Frame();
    EXPECT_NEAR(y() - ground, 7.02, 1e-9);
    int frames = 1;
    while ((fighter.actionFlags & Airborne) && ++frames < 1000) Frame();
    EXPECT_TRUE(frames > 150 && frames < 250) << frames;  // up for about 100, then down ever faster
    EXPECT_TRUE(OnTheFloor()) << y();
    EXPECT_TRUE(fighter.verticalSpeed == 7.8 && fighter.fallSpeed == 0.78);  // re-armed on landing
    for (int f = 0; f < 10; ++f) GravityStep(0, fighter);  // the fall speed reaches its cap and holds
    const double cap = fighter.fallSpeed, before = y();
    GravityStep(0, fighter);
    EXPECT_TRUE(cap >= 7.8 && y() == before - cap) << cap;
    for (double low : {-1e12, -std::numeric_limits<double>::infinity()}) {
        y() = low;  // far below the floor, even infinitely: put back on its feet
        StageCheck(0, fighter);
        EXPECT_TRUE(OnTheFloor()) << low;
    }
}

TEST_F(Movement, TheStageBoundsAreStrictAndARingOutFallsForever) {
    const struct { double x, z; bool out; } cases[] = {
        {1460.0, 0.0, true},  {1459.99, 0.0, false}, {-2108.0, 0.0, true}, {-2107.99, 0.0, false},
        {0.0, 2460.0, true},  {0.0, 2459.99, false}, {0.0, -1800.0, true}, {0.0, -1799.99, false},
    };
    for (const auto& c : cases) {
        fighter.health = 1000;
        fighter.ringOut = 0;
        joints[0].offset = {c.x, 256.0, c.z};
        StageCheck(0, fighter);
        EXPECT_EQ(fighter.ringOut + fighter.health, c.out ? 1 : 1000) << c.x << ", " << c.z;  // out and no health
    }
    fighter.actionFlags |= Airborne;
    joints[0].offset = {1500.0, 256.0, 0.0};
    for (int f = 0; f < 400; ++f) Frame();
    EXPECT_TRUE(fighter.actionFlags & Airborne);  // the floor no longer holds it
    EXPECT_LT(y(), -1000.0);
}

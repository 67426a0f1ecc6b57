// The floor and the stage bounds. Facing and moving along a heading show in
// the knock-back and walk of the hit and gameplay tests.
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

// The jump's arc and the fall speed's cap are pinned by the frame hashes;
// what they never reach is a root far below the floor.
TEST_F(Movement, TheFloorCatchesARootFromAnyDepth) {
    Frame();  // from the build's height 0 up to the floor in one frame
    EXPECT_TRUE(OnTheFloor()) << y();
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

// Jumping, gravity, the floor and the stage bounds, facing, and moving
// along a heading.
#include "combat/movement.h"

#include <algorithm>
#include <limits>

#include "combat/combat_fixture.h"

namespace {

class Movement : public ::testing::Test {
protected:
    void SetUp() override {
        FillSineTable();
        fighter = Fighter{};
        fighter.jumpSpeed = TakeOffSpeed;
        fighter.health = 1000;
        stageJoint.offset = {};
        joints[0].offset = {-324.0, 0.0, -100.0};
        joints[15].offset = {124.0, 0.0, -100.0};
    }
    // The vertical part of a frame: jump and gravity steps, then the check.
    void Frame() {
        JumpStep(fighter, 0);
        GravityStep(0, fighter);
        StageCheck(0, fighter);
    }
    double& y() { return joints[0].offset.y; }
    void ExpectOnTheFloor() {
        EXPECT_GE(y(), 256.0);
        EXPECT_LT(y(), 256.01);
    }
    Fighter fighter;
};

TEST_F(Movement, AJumpRisesSevenPointZeroTwoFirstThenFallsFasterUpToTheCapAndLands) {
    Frame();  // from the build's height 0 up to the floor in one frame, re-armed
    ExpectOnTheFloor();
    EXPECT_EQ(fighter.fallSpeed, 0.78);
    const double ground = y();
    fighter.actionFlags |= Airborne;
    Frame();
    EXPECT_NEAR(y() - ground, 7.02, 1e-9);
    EXPECT_DOUBLE_EQ(fighter.verticalSpeed, 7.8 - 0.078);
    int frames = 1;
    double peak = y();
    while ((fighter.actionFlags & Airborne) && frames < 1000) {
        Frame();
        peak = std::max(peak, y());
        ++frames;
    }
    EXPECT_GT(frames, 150);  // about 100 frames up, then down ever faster
    EXPECT_LT(frames, 250);
    EXPECT_GT(peak - ground, 300.0);
    EXPECT_EQ(fighter.verticalSpeed, 7.8);
    ExpectOnTheFloor();

    // Ten gravity steps reach the cap, which then holds.
    for (int f = 0; f < 10; ++f) GravityStep(0, fighter);
    const double cap = fighter.fallSpeed, before = y();
    EXPECT_GE(cap, 7.8);
    GravityStep(0, fighter);
    EXPECT_EQ(y(), before - cap);

    // A root far below the floor, even infinitely, is put back on its feet.
    for (double low : {-1e12, -std::numeric_limits<double>::infinity()}) {
        y() = low;
        StageCheck(0, fighter);
        ExpectOnTheFloor();
    }
}

TEST_F(Movement, TheStageBoundsAreStrictAndARingOutFallsForever) {
    const struct {
        double x, z;
        bool out;
    } cases[] = {
        {1460.0, 0.0, true},  {1459.99, 0.0, false}, {-2108.0, 0.0, true}, {-2107.99, 0.0, false},
        {0.0, 2460.0, true},  {0.0, 2459.99, false}, {0.0, -1800.0, true}, {0.0, -1799.99, false},
    };
    for (const auto& c : cases) {
        fighter.health = 1000;
        fighter.ringOut = 0;
        joints[0].offset = {c.x, 256.0, c.z};
        StageCheck(0, fighter);
        EXPECT_EQ(fighter.ringOut, c.out ? 1 : 0) << c.x << ", " << c.z;
        EXPECT_EQ(fighter.health, c.out ? 0 : 1000) << c.x << ", " << c.z;
    }

    joints[0].offset = {1500.0, 256.0, 0.0};
    fighter.actionFlags |= Airborne;
    for (int f = 0; f < 400; ++f) Frame();
    EXPECT_TRUE(fighter.actionFlags & Airborne);  // the floor no longer holds it
    EXPECT_LT(y(), -1000.0);
}

TEST_F(Movement, FightersFaceEachOtherAndMoveAlongTheirHeading) {
    joints[0].offset = {0.0, 256.0, -300.0};
    joints[15].offset = {0.0, 256.0, 300.0};
    FaceFighters();
    EXPECT_EQ(joints[0].angles[2], 256);
    EXPECT_EQ(fighterFacing[0], 256);
    EXPECT_EQ(fighterFacing[1], 0);

    // From the start places: a quarter turn each way (-128 kept to 16 bits).
    joints[0].offset = {-324.0, 256.0, -100.0};
    joints[15].offset = {124.0, 256.0, -100.0};
    FaceFighters();
    EXPECT_EQ(fighterFacing[0], 65408);
    EXPECT_EQ(fighterFacing[1], 128);

    // A positive distance takes a root toward the other, a negative away.
    EXPECT_EQ(PartDistance(joints[0], joints[15]), 448.0);
    MoveAlong(joints[0], fighterFacing[0], 8.0);
    EXPECT_NEAR(joints[0].offset.x, -316.0, 1e-9);
    MoveAlong(joints[15], fighterFacing[1], -8.0);
    EXPECT_NEAR(joints[15].offset.x, 132.0, 1e-9);
    EXPECT_NEAR(joints[15].offset.z, -100.0, 1e-9);
    EXPECT_NEAR(PartDistance(joints[0], joints[15]), 448.0, 1e-9);
}

}  // namespace

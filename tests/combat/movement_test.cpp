// Jumping, gravity, the floor and the stage bounds, facing, and the two
// geometric steps.
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
        SetJointOffset(0, {-324.0, 0.0, -100.0});
        SetJointOffset(15, {124.0, 0.0, -100.0});
    }
    static void SetJointOffset(int k, Vec3 v) { joints[k].offset = v; }
    // The vertical part of a frame: jump and gravity steps, then the check.
    void Frame() {
        JumpStep(fighter, 0);
        GravityStep(0, fighter);
        StageCheck(0, fighter);
    }
    double& y() { return joints[0].offset.y; }
    Fighter fighter;
};

TEST_F(Movement, AStandingFighterIsHeldJustAtTheFloorAndReArmed) {
    Frame();  // from the build's height 0 up in one frame
    EXPECT_GE(y(), 256.0);
    EXPECT_LT(y(), 256.01);
    EXPECT_EQ(fighter.fallSpeed, 0.78);
    EXPECT_EQ(fighter.verticalSpeed, 7.8);
    for (int f = 0; f < 50; ++f) Frame();
    EXPECT_GE(y(), 256.0);
    EXPECT_LT(y(), 256.01);
    EXPECT_EQ(fighter.ringOut, 0);
}

TEST_F(Movement, AJumpRisesSevenPointZeroTwoFirstThenSlowsFallsAndLands) {
    Frame();
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
    EXPECT_FALSE(fighter.actionFlags & Airborne);
    EXPECT_GT(frames, 150);  // about 100 frames up, then down ever faster
    EXPECT_LT(frames, 250);
    EXPECT_GT(peak - ground, 300.0);
    EXPECT_EQ(fighter.verticalSpeed, 7.8);
    EXPECT_GE(y(), 256.0);
    EXPECT_LT(y(), 256.01);
}

TEST_F(Movement, FallSpeedGrowsTenTimesThenStays) {
    for (int f = 0; f < 9; ++f) GravityStep(0, fighter);
    EXPECT_LT(fighter.fallSpeed, 7.8);
    GravityStep(0, fighter);
    const double cap = fighter.fallSpeed;
    EXPECT_GE(cap, 7.8);
    const double before = y();
    GravityStep(0, fighter);
    EXPECT_EQ(fighter.fallSpeed, cap);
    EXPECT_EQ(y(), before - cap);

    // A jump step without speed, or on the ground, does nothing.
    fighter.verticalSpeed = 5.0;
    JumpStep(fighter, 0);
    EXPECT_EQ(y(), before - cap);
    fighter.actionFlags = Airborne;
    fighter.verticalSpeed = 0.0;
    JumpStep(fighter, 0);
    EXPECT_EQ(y(), before - cap);
}

TEST_F(Movement, TheStageBoundsAreStrict) {
    struct Case {
        double x, z;
        bool out;
    } cases[] = {
        {1460.0, 0.0, true},  {1459.99, 0.0, false}, {-2108.0, 0.0, true}, {-2107.99, 0.0, false},
        {0.0, 2460.0, true},  {0.0, 2459.99, false}, {0.0, -1800.0, true}, {0.0, -1799.99, false},
    };
    for (const Case& c : cases) {
        fighter.health = 1000;
        fighter.ringOut = 0;
        SetJointOffset(0, {c.x, 256.0, c.z});
        StageCheck(0, fighter);
        EXPECT_EQ(fighter.ringOut, c.out ? 1 : 0) << c.x << ", " << c.z;
        EXPECT_EQ(fighter.health, c.out ? 0 : 1000) << c.x << ", " << c.z;
    }
}

TEST_F(Movement, AFighterOutOfTheRingIsNoLongerHeldByTheFloor) {
    Frame();
    SetJointOffset(0, {1500.0, y(), 0.0});
    fighter.actionFlags |= Airborne;
    for (int f = 0; f < 400; ++f) Frame();
    EXPECT_EQ(fighter.ringOut, 1);
    EXPECT_TRUE(fighter.actionFlags & Airborne);  // never re-armed
    EXPECT_LT(y(), -1000.0);
    EXPECT_DOUBLE_EQ(fighter.fallSpeed, 7.800000000000002);
}

TEST_F(Movement, ARootFarBelowTheFloorIsPutBackOnItsFeet) {
    y() = -1e12;
    StageCheck(0, fighter);
    EXPECT_GE(y(), 256.0);
    EXPECT_LT(y(), 256.01);
    y() = -std::numeric_limits<double>::infinity();
    StageCheck(0, fighter);
    EXPECT_GE(y(), 256.0);
}

TEST_F(Movement, FightersFaceEachOtherAndMoveAlongTheirHeading) {
    // On one x line, fighter 1 at the smaller z.
    SetJointOffset(0, {0.0, 256.0, -300.0});
    SetJointOffset(15, {0.0, 256.0, 300.0});
    FaceFighters();
    EXPECT_EQ(joints[0].angles[2], 256);
    EXPECT_EQ(joints[15].angles[2], 0);
    EXPECT_EQ(fighterFacing[0], 256);
    EXPECT_EQ(fighterFacing[1], 0);

    // From the start places: a quarter turn each way (-128 kept to 16 bits).
    SetJointOffset(0, {-324.0, 256.0, -100.0});
    SetJointOffset(15, {124.0, 256.0, -100.0});
    FaceFighters();
    EXPECT_EQ(fighterFacing[0], 65408);
    EXPECT_EQ(fighterFacing[1], 128);

    // A positive distance along its facing takes a root toward the other.
    const double before = PartDistance(joints[0], joints[15]);
    EXPECT_EQ(before, 448.0);
    MoveAlong(joints[0], fighterFacing[0], 8.0);
    EXPECT_NEAR(joints[0].offset.x, -316.0, 1e-9);
    EXPECT_NEAR(PartDistance(joints[0], joints[15]), 440.0, 1e-9);
    MoveAlong(joints[15], fighterFacing[1], -8.0);
    EXPECT_NEAR(joints[15].offset.x, 132.0, 1e-9);
    EXPECT_EQ(joints[15].offset.y, 256.0);

    joints[0].offset = {1.0, 2.0, 2.0};
    joints[15].offset = {0.0, 0.0, 0.0};
    EXPECT_EQ(PartDistance(joints[0], joints[15]), 3.0);
}

}  // namespace

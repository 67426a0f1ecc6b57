// Motion playback: the stepping arithmetic between keys, the shorter way
// round, the five-frame blend, Loop and End, and data it has to survive.
#include "combat/playback.h"

#include "combat/combat_fixture.h"

namespace {

class Playback : public ::testing::Test {
protected:
    void SetUp() override {
        fighter = Fighter{};
        for (Joint& j : joints) j = Joint{};
    }
    void TearDown() override { FreeMotionTable(fighter); }
    void Frame(int count = 1) {
        for (int i = 0; i < count; ++i) AdvanceMotion(joints, fighter, 0, 15);
    }
    MotionState& m() { return fighter.motion; }
    double Work(uint16_t motion, uint16_t key) { return fighter.motions[motion][key].workAngles[0][0]; }

    Fighter fighter;
};

KeySpec Angle(uint16_t a, uint16_t duration, uint32_t flags = 0) { return {flags, duration, {a, 0, 0, 0, 0, 0}}; }

TEST_F(Playback, EachFrameCoversOneKthOfTheWayLeftAndTheNextKeyIsTakenExactly) {
    SetMotion(fighter, Way, {Angle(0, 20), Angle(100, 20)});  // K = 10, 21 frames
    for (double e : {10.0, 19.0, 27.1}) {
        Frame();
        EXPECT_DOUBLE_EQ(Work(Way, 0), e);
        EXPECT_EQ(joints[14].angles[0], static_cast<uint16_t>(e));
    }
    Frame(17);
    EXPECT_EQ(m().currentKey, 0);
    Frame();  // the 21st frame: 100 (1 - 0.9^21) = 89.06, then the key changes
    EXPECT_EQ(joints[0].angles[0], 89);
    EXPECT_EQ(m().currentKey, 1);
    EXPECT_EQ(m().frameCounter, 0);
    EXPECT_EQ(Work(Way, 0), 0.0);    // the finished key is back to its file pose
    EXPECT_EQ(Work(Way, 1), 100.0);  // and the pose is exactly the next key
    Frame();                         // the last key aims back at key 0
    EXPECT_DOUBLE_EQ(Work(Way, 1), 90.0);
}

TEST_F(Playback, AnglesTakeTheShorterWayThroughTheWrap) {
    // 500 toward 10 runs on past 511 (d = +22), K = 2.
    SetMotion(fighter, Way, {Angle(500, 4), Angle(10, 4)});
    Frame(2);
    EXPECT_DOUBLE_EQ(Work(Way, 0), 516.5);
    EXPECT_EQ(joints[0].angles[0], 516);

    // 10 toward 500 goes below 0 and wraps through the joint's 16 bits.
    SetMotion(fighter, Way, {Angle(10, 4), Angle(500, 4)});
    m() = {};
    Frame();
    EXPECT_EQ(joints[0].angles[0], 65535);
    Frame();
    EXPECT_DOUBLE_EQ(Work(Way, 0), -6.5);
    EXPECT_EQ(joints[0].angles[0], 65530);  // truncated toward zero: -6
}

TEST_F(Playback, ABlendHalvesTheWayForFiveFramesThenPlaysTheNewMotionFromKeyZero) {
    SetMotion(fighter, Way, {Angle(0, 20), Angle(0, 20)});
    const KeySpec out = {0, 20, {64, 0, 0, 8.0, 0, 0}};
    SetMotion(fighter, Slay, {out, out, Angle(0, 20, End)});
    RequestMotion(fighter, Slay, Locked);
    double offset = 0.0, position = 0.0;
    for (double angle : {32.0, 48.0, 56.0, 60.0, 62.0}) {
        EXPECT_EQ(m().currentMotion, Way);
        Frame();
        EXPECT_EQ(joints[3].angles[0], static_cast<uint16_t>(angle));
        position += (8.0 - position) * 0.5;
        offset += position * 0.25;  // a quarter of how far the live position is from the file's
        EXPECT_DOUBLE_EQ(joints[3].offset.x, offset);
    }
    EXPECT_EQ(m().currentMotion, Slay);
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().motionFlags, Locked);
    Frame();  // offsets are never reset: equal positions leave the joints be
    EXPECT_DOUBLE_EQ(joints[3].offset.x, offset);
}

TEST_F(Playback, LoopAndEndHandTheFighterBackAndAKeyCanChangeUnderABlend) {
    SetMotion(fighter, Walk, {Angle(0, 1), Angle(10, 1, Loop)});
    m() = {Walk, 0, Walk, 0, Requested};
    Frame(2);
    EXPECT_EQ(m().motionFlags, Requested);  // only Loop or End hands the fighter back
    Frame(2);
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().motionFlags, 0);

    SetMotion(fighter, Way, {Angle(0, 2), Angle(0, 20)});
    SetMotion(fighter, Slay, {Angle(64, 1), Angle(50, 1, End), Angle(90, 20)});
    m() = {Slay, 0, Way, 0, Locked | Requested};
    Frame(4);
    EXPECT_EQ(m().currentKey, 2);
    EXPECT_EQ(m().motionFlags, Blending);  // End blends into the last request
    Frame(5);
    EXPECT_EQ(m().currentMotion, Way);
    EXPECT_EQ(m().motionFlags, 0);

    // Way's key 0 runs out after 3 frames of the blend into Slay.
    RequestMotion(fighter, Slay, Locked);
    Frame(3);
    EXPECT_EQ(m().currentMotion, Way);
    EXPECT_EQ(m().currentKey, 1);
    EXPECT_EQ(m().motionFlags, Locked | Blending);
    Frame(4);
    EXPECT_EQ(m().currentMotion, Way);  // five frames on the new key finish it
    Frame();
    EXPECT_EQ(m().currentMotion, Slay);
    EXPECT_EQ(joints[0].angles[0], 62);
}

TEST_F(Playback, TheKeyIndexNeverPassesTheLastKey) {
    // A last key without Loop or End goes round as if it had Loop.
    SetMotion(fighter, Slay, {Angle(0, 0), Angle(10, 0), Angle(20, 0)});
    m() = {Slay, 0, Slay, 0, Locked | Requested};
    Frame(2);
    EXPECT_EQ(m().currentKey, 2);
    Frame();
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().motionFlags, 0);

    // End on the last key keeps its blend.
    SetMotion(fighter, Slay, {Angle(0, 0), Angle(10, 0), Angle(20, 0, End)});
    SetMotion(fighter, Way, {Angle(0, 20), Angle(0, 20)});
    m() = {Slay, 2, Way, 0, Locked};
    Frame();
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().motionFlags, Blending);

    // A plain last key running out during the blend an End began: the same.
    SetMotion(fighter, Slay, {Angle(0, 20), Angle(10, 0, End), Angle(20, 1)});
    m() = {Slay, 1, Way, 0, Locked};
    Frame(3);
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().motionFlags, Blending);

    // K would be 1 / 3 = 0; it is 1.
    SetMotion(fighter, Slay, {Angle(0, 1), Angle(30, 1), Angle(0, 1, End)});
    m() = {Slay, 0, Slay, 0, 0};
    Frame();
    EXPECT_EQ(joints[0].angles[0], 30);
}

TEST_F(Playback, MissingMotionsAndKeysAreSurvived) {
    joints[0].angles[0] = 7;  // nothing loaded: the pose stays
    Frame();
    EXPECT_EQ(joints[0].angles[0], 7);

    // A motion number that does not exist is never blended into.
    SetMotion(fighter, Way, {Angle(40, 20), Angle(40, 20)});
    RequestMotion(fighter, 40, Locked);
    Frame(5);
    EXPECT_EQ(joints[0].angles[0], 40);
    EXPECT_EQ(m().currentMotion, Way);
    EXPECT_EQ(m().motionFlags & Blending, 0);

    // Keys loaded from nothing (all zero, duration 0) play safely.
    SetMotion(fighter, Way, {KeySpec{}, KeySpec{}});
    Frame(4);
    EXPECT_EQ(joints[0].offset.x, 0.0);
    EXPECT_LT(m().currentKey, 2);

    m().currentKey = 9;  // a key index past the end, left by other code
    Frame();
    EXPECT_EQ(m().currentKey, 9);
}

}  // namespace

// Motion playback: the stepping arithmetic between keys, the shorter way
// round, the five-frame blend, Loop and End, and data the playback has to
// survive.
#include "combat/playback.h"

#include "combat/combat_fixture.h"

namespace {

class Playback : public ::testing::Test {
protected:
    void SetUp() override {
        fighter = Fighter{};
        for (Joint& j : joints) {
            j.offset = {};
            j.angles[0] = j.angles[1] = j.angles[2] = 0;
        }
    }
    void TearDown() override { FreeMotionTable(fighter); }
    void Frame() { AdvanceMotion(joints, fighter, 0, 15); }
    MotionState& m() { return fighter.motion; }
    MotionKey& Key(uint16_t motion, uint16_t key) { return fighter.motions[motion][key]; }

    Fighter fighter;
};

KeySpec Angle(uint16_t a, uint16_t duration, uint32_t flags = 0) { return {flags, duration, {a, 0, 0, 0, 0, 0}}; }

TEST_F(Playback, EachFrameCoversOneKthOfTheWayLeftAndTheNextKeyIsTakenExactly) {
    // Duration 20 over 2 keys: K = 10, played for 21 frames.
    SetMotion(fighter, Way, {Angle(0, 20), Angle(100, 20)});
    const double expected[] = {10.0, 19.0, 27.1};
    for (double e : expected) {
        Frame();
        EXPECT_DOUBLE_EQ(Key(Way, 0).workAngles[0][0], e);
        EXPECT_EQ(joints[0].angles[0], static_cast<uint16_t>(e));
        EXPECT_EQ(joints[14].angles[0], static_cast<uint16_t>(e));  // every part of the figure
    }
    for (int f = 4; f <= 20; ++f) Frame();
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().frameCounter, 20);
    Frame();  // the 21st frame: 100 (1 - 0.9^21), then the key changes
    EXPECT_EQ(joints[0].angles[0], 89);
    EXPECT_EQ(m().currentKey, 1);
    EXPECT_EQ(m().frameCounter, 0);
    EXPECT_EQ(Key(Way, 0).workAngles[0][0], 0.0);    // the finished key is back to its file pose
    EXPECT_EQ(Key(Way, 1).workAngles[0][0], 100.0);  // the pose is now exactly the next key
    Frame();  // and the last key aims back at key 0
    EXPECT_DOUBLE_EQ(Key(Way, 1).workAngles[0][0], 90.0);
    EXPECT_EQ(joints[0].angles[0], 90);
}

TEST_F(Playback, AnglesTakeTheShorterWayThroughTheWrap) {
    // 500 toward 10 goes forward through 511 (d = -490 becomes +22), K = 2.
    SetMotion(fighter, Way, {Angle(500, 4), Angle(10, 4)});
    Frame();
    EXPECT_EQ(joints[0].angles[0], 511);
    Frame();
    EXPECT_DOUBLE_EQ(Key(Way, 0).workAngles[0][0], 516.5);
    EXPECT_EQ(joints[0].angles[0], 516);  // the working value runs on past 511

    // 10 toward 500 goes backward through 0; a negative working value
    // wraps through the 16 bits of the joint angle.
    SetMotion(fighter, Way, {Angle(10, 4), Angle(500, 4)});
    m() = {};
    Frame();
    EXPECT_DOUBLE_EQ(Key(Way, 0).workAngles[0][0], -1.0);
    EXPECT_EQ(joints[0].angles[0], 65535);
    Frame();
    EXPECT_DOUBLE_EQ(Key(Way, 0).workAngles[0][0], -6.5);
    EXPECT_EQ(joints[0].angles[0], 65530);  // truncated toward zero: -6
}

TEST_F(Playback, ABlendHalvesTheWayForFiveFramesThenPlaysTheNewMotionFromKeyZero) {
    SetMotion(fighter, Way, {Angle(0, 20), Angle(0, 20)});
    SetMotion(fighter, Slay, {{0, 20, {64, 0, 0, 8.0, 0, 0}}, {0, 20, {64, 0, 0, 8.0, 0, 0}}, Angle(0, 20, End)});
    RequestMotion(fighter, Slay, Locked);
    const double angles[] = {32.0, 48.0, 56.0, 60.0, 62.0};
    double offset = 0.0;
    double position = 0.0;
    for (int f = 0; f < 5; ++f) {
        EXPECT_EQ(m().currentMotion, Way);
        Frame();
        EXPECT_EQ(joints[3].angles[0], static_cast<uint16_t>(angles[f]));
        position += (8.0 - position) * 0.5;
        offset += position * 0.25;  // a quarter of how far the live position is from the key's own
        EXPECT_DOUBLE_EQ(joints[3].offset.x, offset);
    }
    EXPECT_EQ(m().currentMotion, Slay);
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().frameCounter, 0);
    EXPECT_EQ(m().motionFlags, Locked);  // the blend is over, the attack still owns the fighter
    EXPECT_EQ(Key(Way, 0).workPositions[3].x, 0.0);
    EXPECT_EQ(Key(Way, 0).workAngles[0][3], 0.0);

    // Offsets are never reset: a key whose positions equal the following
    // key's leaves the joints where the blend put them.
    Frame();
    EXPECT_DOUBLE_EQ(joints[3].offset.x, offset);
}

TEST_F(Playback, RequestingThePlayingKeyHoldsThePoseThenSnapsToTheFilePose) {
    SetMotion(fighter, Way, {Angle(0, 20), Angle(100, 20)});
    Frame();
    Frame();
    RequestMotion(fighter, Way, Requested);
    for (int f = 0; f < 4; ++f) {
        Frame();
        EXPECT_EQ(joints[0].angles[0], 19);
    }
    Frame();
    EXPECT_EQ(Key(Way, 0).workAngles[0][0], 0.0);
    EXPECT_EQ(m().motionFlags, Requested);
}

TEST_F(Playback, LoopGoesBackToKeyZeroAndEndBlendsIntoTheLastRequest) {
    SetMotion(fighter, Walk, {Angle(0, 1), Angle(10, 1, Loop)});
    m() = {Walk, 0, Walk, 0, Requested};
    Frame();
    Frame();
    EXPECT_EQ(m().currentKey, 1);
    EXPECT_EQ(m().motionFlags, Requested);  // only Loop or End hands the fighter back
    Frame();
    Frame();
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().motionFlags, 0);

    SetMotion(fighter, Way, {Angle(0, 20), Angle(0, 20)});
    SetMotion(fighter, Slay, {Angle(0, 1), Angle(50, 1, End), Angle(90, 20)});
    m() = {Slay, 0, Way, 0, Locked | Requested};
    for (int f = 0; f < 4; ++f) Frame();
    EXPECT_EQ(m().currentMotion, Slay);
    EXPECT_EQ(m().currentKey, 2);
    EXPECT_EQ(m().nextMotion, Way);
    EXPECT_EQ(m().motionFlags, Blending);
    for (int f = 0; f < 5; ++f) Frame();
    EXPECT_EQ(m().currentMotion, Way);
    EXPECT_EQ(m().motionFlags, 0);
}

TEST_F(Playback, AKeyRunningOutDuringABlendChangesUnderneathIt) {
    SetMotion(fighter, Way, {Angle(0, 2), Angle(0, 20)});
    SetMotion(fighter, Slay, {Angle(64, 20), Angle(0, 20), Angle(0, 20, End)});
    RequestMotion(fighter, Slay, Locked);
    for (int f = 0; f < 3; ++f) Frame();
    EXPECT_EQ(m().currentMotion, Way);
    EXPECT_EQ(m().currentKey, 1);  // key 0 lasted its 3 frames
    EXPECT_EQ(m().frameCounter, 0);
    EXPECT_EQ(m().motionFlags, Locked | Blending);
    for (int f = 0; f < 4; ++f) Frame();
    EXPECT_EQ(m().currentMotion, Way);
    Frame();  // five frames on the new key finish the blend
    EXPECT_EQ(m().currentMotion, Slay);
    EXPECT_EQ(joints[0].angles[0], 62);
}

TEST_F(Playback, TheKeyIndexNeverPassesTheLastKey) {
    // A last key without Loop or End goes round as if it had Loop.
    SetMotion(fighter, Slay, {Angle(0, 0), Angle(10, 0), Angle(20, 0)});
    m() = {Slay, 0, Slay, 0, Locked | Requested};
    for (int f = 0; f < 2; ++f) Frame();
    EXPECT_EQ(m().currentKey, 2);
    EXPECT_EQ(m().motionFlags, Locked | Requested);
    Frame();
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().motionFlags, 0);

    // End on the last key keeps its blend and goes back to key 0.
    SetMotion(fighter, Slay, {Angle(0, 0), Angle(10, 0), Angle(20, 0, End)});
    SetMotion(fighter, Way, {Angle(0, 20), Angle(0, 20)});
    m() = {Slay, 2, Way, 0, Locked};
    Frame();
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().motionFlags, Blending);

    // The key after an End running out during the blend: the same.
    SetMotion(fighter, Slay, {Angle(0, 20), Angle(10, 0, End), Angle(20, 1)});
    m() = {Slay, 1, Way, 0, Locked};
    Frame();
    EXPECT_EQ(m().currentKey, 2);
    Frame();
    Frame();
    EXPECT_EQ(m().currentKey, 0);
    EXPECT_EQ(m().motionFlags, Blending);
    for (int f = 0; f < 5; ++f) Frame();
    EXPECT_EQ(m().currentMotion, Way);
}

TEST_F(Playback, ADurationBelowTheKeyCountStepsWhole) {
    SetMotion(fighter, Slay, {Angle(0, 1), Angle(30, 1), Angle(0, 1, End)});
    m().currentMotion = Slay;
    Frame();
    EXPECT_EQ(joints[0].angles[0], 30);  // K would be 1 / 3 = 0; it is 1
}

TEST_F(Playback, MissingMotionsAndKeysAreSurvived) {
    // Nothing loaded: the pose stays.
    joints[0].angles[0] = 7;
    Frame();
    EXPECT_EQ(joints[0].angles[0], 7);
    EXPECT_EQ(m().frameCounter, 0);

    // A request for a motion number that does not exist holds the pose and
    // leaves the fighter in its motion.
    SetMotion(fighter, Way, {Angle(40, 20), Angle(40, 20)});
    RequestMotion(fighter, 40, Locked);
    for (int f = 0; f < 5; ++f) Frame();
    EXPECT_EQ(joints[0].angles[0], 40);
    EXPECT_EQ(m().currentMotion, Way);
    EXPECT_EQ((m().motionFlags & Blending), 0);

    // A key loaded from nothing (all zero, duration 0) plays safely.
    SetMotion(fighter, Way, {KeySpec{}, KeySpec{}});
    for (int f = 0; f < 4; ++f) Frame();
    EXPECT_EQ(joints[0].angles[0], 0);
    EXPECT_EQ(joints[0].offset.x, 0.0);
    EXPECT_LT(m().currentKey, 2);

    // A motion playing from a key index past its end (left by other code).
    m().currentKey = 9;
    Frame();
    EXPECT_EQ(m().currentKey, 9);
}

}  // namespace

// Motion playback: the shorter way round, Loop and End, and data it has to
// survive. (The stepping between keys and the blend are pinned by the frame
// hashes of tools/frame_hashes_test.cpp.)
#include "combat/playback.h"

#include "combat/combat_fixture.h"

class Playback : public ::testing::Test {
protected:
    void SetUp() override { fighter = Fighter{}, std::ranges::fill(joints, Joint{}); }
    void TearDown() override { FreeMotionTable(fighter); }
    void Frame(int count = 1) { while (count-- > 0) AdvanceMotion(joints, fighter, 0, 15); }
    MotionState& m() { return fighter.motion; }
    double Work(uint16_t motion, uint16_t key) { return fighter.motions[motion][key].workAngles[0][0]; }
    Fighter fighter;
};

static KeySpec Angle(uint16_t a, uint16_t duration, uint32_t flags = 0) { return {flags, duration, a}; }

TEST_F(Playback, AnglesTakeTheShorterWayThroughTheWrap) {
    // K = 2: on past 511 (d = +22), and below 0, wrapping the joint's 16 bits after truncation toward zero.
    for (auto [from, to, work, angle] : {std::tuple{500, 10, 516.5, 516}, {10, 500, -6.5, 65530}}) {
        SetMotion(fighter, Way, {Angle(from, 4), Angle(to, 4)});
        m() = {};
        Frame(2);
        EXPECT_DOUBLE_EQ(Work(Way, 0), work);
        EXPECT_EQ(joints[0].angles[0], angle);
    }
}

// Loop and End in the game's own motions are pinned by the frame hashes;
// these are a key running out in a blend, a motion with neither, and keys
// of no duration.
TEST_F(Playback, LoopAndEndHandTheFighterBackAndTheKeyIndexNeverPassesTheLastKey) {
    const std::vector<KeySpec> end = {Angle(64, 1), Angle(50, 1, End), Angle(90, 20)};
    const std::vector<KeySpec> plain = {Angle(0, 0), Angle(10, 0), Angle(20, 0)};
    const struct {
        std::vector<KeySpec> keys;
        MotionState start;
        int frames;
        MotionState after;  // nextMotion and frameCounter not compared
    } cases[] = {
        {end, {Way, 0, Slay, 0, Locked | Blending}, 3, {Way, 1, 0, 0, Locked | Blending}},  // Way's key runs out
        {end, {Way, 0, Slay, 0, Locked | Blending}, 8, {Slay, 0, 0, 0, Locked}},  // five frames on the new key
        {plain, {Slay, 0, Slay, 0, Locked | Requested}, 3, {Slay, 0, 0, 0, 0}},  // round as if it had Loop
        {{Angle(0, 0), Angle(10, 0), Angle(20, 0, End)}, {Slay, 2, Way, 0, Locked}, 1, {Slay, 0, 0, 0, Blending}},
        {{Angle(0, 20), Angle(10, 0, End), Angle(20, 1)}, {Slay, 1, Way, 0, Locked}, 3, {Slay, 0, 0, 0, Blending}},
    };
    const auto fields = [](const MotionState& s) { return std::tuple(s.currentMotion, s.currentKey, s.motionFlags); };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SetMotion(fighter, Way, {Angle(0, 2), Angle(0, 20)});
        SetMotion(fighter, Slay, c.keys);
        m() = c.start;
        Frame(c.frames);
        EXPECT_EQ(fields(m()), fields(c.after)) << i;
    }
}

TEST_F(Playback, MissingMotionsAndKeysAreSurvived) {
    joints[0].angles[0] = 7;  // nothing loaded: the pose stays
    Frame();
    EXPECT_EQ(joints[0].angles[0], 7);
    SetMotion(fighter, Way, {Angle(40, 20), Angle(40, 20)});
    RequestMotion(fighter, 40, Locked);  // no such motion: never blended into
    Frame(5);
    EXPECT_EQ(joints[0].angles[0], 40);
    EXPECT_TRUE(m().currentMotion == Way && !(m().motionFlags & Blending));
    SetMotion(fighter, Way, {KeySpec{}, KeySpec{}});  // keys loaded from nothing, duration 0
    Frame(4);
    EXPECT_TRUE(joints[0].offset.x == 0.0 && m().currentKey < 2);
    m().currentKey = 9;  // a key index past the end, left by other code
    Frame();
    EXPECT_EQ(m().currentKey, 9);
    SetMotion(fighter, Slay, {Angle(0, 1), Angle(30, 1), Angle(0, 1, End)});
    m() = {Slay, 0, Slay, 0, 0};
    Frame();  // the step's divisor would be 1 / 3 = 0; it is 1
    EXPECT_EQ(joints[0].angles[0], 30);
}

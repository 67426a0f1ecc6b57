// The controls' timing rules frame by frame, playback running on small
// motions: latches, the combo window, jumps, opposite keys, player 2's rules.
#include "combat/controls.h"

#include "combat/combat_fixture.h"
#include "devices/input.h"

namespace hl = platform::headless;
using namespace platform;  // the key codes

static InputState player2Input = {};
static void PollTestInput() { inputState = player2Input; }

class Controls : public ControlFrames {
protected:
    void SetUp() override { player2Input = {}, pollInput = PollTestInput, ControlFrames::SetUp(); }
    void Press(int key) { hl::HoldKey(key), Frame(), hl::ReleaseKey(key); }
    void Settle() { Frame(6); }  // idle, in Way, its blend over
};

// The combo's two attacks on the scripted path are pinned by the frame
// hashes; these are the rules around them.
TEST_F(Controls, TheComboWindowClosesWhenTheAttackHasEndedAndBothKeysAreUp) {
    Settle();
    Press(VK_X);
    Frame(40);  // Slay's keys run out and its End hands the fighter back
    EXPECT_EQ(comboCount[0], 0);
    EXPECT_FALSE(fighter1.actionFlags & AttackActive);
    hl::HoldKey(VK_X);
    Frame(6);  // a first attack again, at once or once a blend toward Way is over
    EXPECT_EQ(fighter1.motion.nextMotion, Slay);
    hl::HoldKey(VK_Z);  // a held jump key keeps the attack latched
    Frame(5);
    hl::ReleaseKey(VK_X);
    Frame();
    hl::HoldKey(VK_X);
    Frame();
    EXPECT_EQ(comboCount[0], 1);
    hl::ReleaseAllKeys();
    Frame();
    Press(VK_X);
    EXPECT_EQ(comboCount[0], 2);
    Frame(5);
    Press(VK_X);  // only two attacks make a combo: a third press does nothing
    EXPECT_EQ(comboCount[0], 2);
    EXPECT_EQ(TimesPlayed("Attack.wav"), 3);
}

TEST_F(Controls, OppositeKeysCancelButStillWalk) {
    Settle();
    for (int key : {VK_LEFT, VK_RIGHT, VK_UP}) hl::HoldKey(key);
    Frame();
    EXPECT_EQ(joints[0].offset.x, -324.0);
    EXPECT_EQ(joints[0].offset.z, -92.0);
    EXPECT_EQ(fighter1.motion.nextMotion, Way);
    Frame(14);  // a walk is chosen at Way's loop key
    EXPECT_EQ(fighter1.motion.nextMotion, Walk);
}

TEST_F(Controls, ALockedFighterCannotMoveButCanJumpAndTakesOffAgainOnLanding) {
    Settle();
    fighter1.motion.motionFlags |= Locked;
    for (int key : {VK_DOWN, VK_Z}) hl::HoldKey(key);
    Frame(4);
    EXPECT_EQ(joints[0].offset.z, -100.0);
    EXPECT_EQ(fighter1.actionFlags & (Moving | Airborne), Airborne);  // only a step taken counts as moving
    EXPECT_NE(fighter1.motion.nextMotion, Jump);                       // the lock keeps the motion
    EXPECT_EQ(TimesPlayed("Jump.wav"), 1);                             // no second take-off in the air
    fighter1.actionFlags &= ~Airborne;
    Frame();
    EXPECT_EQ(TimesPlayed("Jump.wav"), 2);  // player 1 has no jump latch
}

TEST_F(Controls, PlayerTwoGoesFirstItsJumpAndAttackLatchEachOtherAndHeldCKeepsItFlinching) {
    static int polls;
    polls = 0;  // player 2 gets right and up, then player 1 left and down
    pollInput = [] { inputState = {static_cast<uint8_t>(++polls % 2 ? 0x9 : 0x6), 0}; };
    RunControls();
    EXPECT_EQ(joints[15].offset.x, 124.0 + 8.0);
    EXPECT_EQ(joints[15].offset.z, -100.0 + 8.0);

    pollInput = PollTestInput;
    Settle();
    // A jump held on landing, then with an attack: no take-off; both up, an attack latches the jump.
    const struct { uint8_t buttons; int frames; bool airborne; } steps[] = {
        {0x2, 1, true}, {0x2, 1, false}, {0x3, 5, false}, {0x0, 1, false}, {0x1, 1, false}, {0x2, 1, false}};
    for (const auto& s : steps) {
        fighter2.actionFlags &= ~Airborne;  // every frame lands
        player2Input = {0, s.buttons};
        Frame(s.frames);
        EXPECT_EQ((fighter2.actionFlags & Airborne) != 0, s.airborne) << int(s.buttons);
    }
    EXPECT_EQ(comboCount[1], 1);
    EXPECT_EQ(fighter2.motion.nextMotion, Slay);

    const uint16_t motion = fighter2.motion.currentMotion;
    hl::HoldKey(VK_C);
    Frame(8);
    EXPECT_EQ(fighter2.motion.nextMotion, UpEasyDamage);
    EXPECT_EQ(fighter2.motion.currentMotion, motion);  // the blend never finishes
}

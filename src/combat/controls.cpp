// The players' controls. Player 1 reads the keyboard's key state (or the
// computer's hands); player 2 reads the two input bytes its device leaves
// (without a gamepad, the same keyboard keys), plus the C key.
#include "combat/controls.h"

#include "combat/computer.h"
#include "combat/playback.h"
#include "devices/input.h"
#include "devices/sound.h"
#include "figure/model.h"
#include "platform/platform.h"

using platform::IsKeyDown;

int32_t comboCount[2] = {};
uint8_t player1Latch = 0;
uint8_t player2Latch = 0;
const uint16_t AttackTable[2] = {Slay, YokoGiri};

namespace {

constexpr uint8_t Player2Latch = 0x2;
constexpr uint8_t InputRight = 0x1, InputLeft = 0x2, InputDown = 0x4, InputUp = 0x8;
constexpr uint8_t InputAttack = 0x1, InputJump = 0x2;

void Poll() {
    if (pollInput) pollInput();
}

// One frame's steps of the root. A locked fighter takes no step and so is
// not marked moving, though a direction held keeps the mark it had; opposite
// keys cancel out and still count as moving.
void Move(Fighter& fighter, int partBase, bool right, bool left, bool up, bool down) {
    if (!right && !left && !up && !down) fighter.actionFlags &= ~Moving;
    const bool free = (fighter.motion.motionFlags & Locked) == 0;
    Vec3& root = joints[partBase].offset;
    const bool held[4] = {right, left, up, down};
    double* axis[4] = {&root.x, &root.x, &root.z, &root.z};
    const double step[4] = {MoveStep, -MoveStep, MoveStep, -MoveStep};
    for (int i = 0; i < 4; ++i) {
        if (held[i] && free) {
            *axis[i] += step[i];
            fighter.actionFlags |= Moving;
        }
    }
}

void TakeOff(Fighter& fighter) {
    fighter.actionFlags |= Airborne;
    PlayEffect(jumpSound);
}

bool LatchSet(int player) { return player == 0 ? player1Latch != 0 : (player2Latch & Player2Latch) != 0; }

void SetLatch(int player, bool set) {
    if (player == 0) {
        player1Latch = set ? 1 : 0;
    } else if (set) {
        player2Latch |= Player2Latch;
    } else {
        player2Latch &= static_cast<uint8_t>(~Player2Latch);
    }
}

void StartAttack(Fighter& fighter, int player) {
    MotionState& m = fighter.motion;
    m.frameCounter = 0;
    m.motionFlags |= Locked | Blending;
    m.nextMotion = AttackTable[comboCount[player]];
    comboCount[player] += 1;
    fighter.actionFlags |= AttackActive;
    if (comboCount[player] == 2) fighter.actionFlags |= Finisher;
    PlayEffect(attackSound);
}

void Choose(Fighter& fighter, uint16_t motion) {
    if (!(fighter.motion.motionFlags & Requested)) RequestMotion(fighter, motion, Requested);
}

struct Player1Keys {
    bool right, left, up, down, attack, jump;
};

// Player 1's keys for this frame: the keyboard's, or what the computer holds
// when it plays player 1 (it thinks once a frame, here).
Player1Keys ReadPlayer1Keys() {
    if (computers[0].level == 0) {
        return {IsKeyDown(platform::VK_RIGHT), IsKeyDown(platform::VK_LEFT), IsKeyDown(platform::VK_UP),
                IsKeyDown(platform::VK_DOWN),  IsKeyDown(platform::VK_X),    IsKeyDown(platform::VK_Z)};
    }
    const InputState s = ComputerInput(0);
    return {(s.directions & InputRight) != 0, (s.directions & InputLeft) != 0, (s.directions & InputUp) != 0,
            (s.directions & InputDown) != 0,  (s.buttons & InputAttack) != 0,  (s.buttons & InputJump) != 0};
}

}  // namespace

void RunControls() {
    UpdatePlayer2Controls();
    UpdatePlayer1Controls();
}

void UpdatePlayer1Controls() {
    Poll();
    Fighter& f = fighter1;
    const Player1Keys keys = ReadPlayer1Keys();
    // No latch here: holding Z jumps again as soon as the fighter lands.
    if (keys.jump && !(f.actionFlags & Airborne)) TakeOff(f);
    Move(f, Fighter1Base, keys.right, keys.left, keys.up, keys.down);
    ChooseAction(f, 0, keys.attack, keys.jump);
}

void UpdatePlayer2Controls() {
    Poll();
    Fighter& f = fighter2;
    const uint8_t buttons = inputState.buttons;
    const uint8_t directions = inputState.directions;
    if ((buttons & InputJump) && !(player2Latch & Player2Latch) && !(f.actionFlags & Airborne)) {
        TakeOff(f);
        player2Latch |= Player2Latch;
    }
    // The flinch key restarts its blend every frame it is held.
    if (IsKeyDown(platform::VK_C)) {
        f.motion.frameCounter = 0;
        f.motion.motionFlags |= Blending;
        f.motion.nextMotion = UpEasyDamage;
    }
    Move(f, Fighter2Base, directions & InputRight, directions & InputLeft, directions & InputUp,
         directions & InputDown);
    ChooseAction(f, 1, buttons & InputAttack, buttons & InputJump);
}

void ChooseAction(Fighter& fighter, int player, bool attackHeld, bool jumpHeld) {
    MotionState& m = fighter.motion;
    if (!attackHeld && !jumpHeld) {
        if (!(m.motionFlags & Locked)) {
            comboCount[player] = 0;
            fighter.actionFlags &= ~(AttackActive | Finisher);
        }
        SetLatch(player, false);
    }
    if (attackHeld && !LatchSet(player) && !(m.motionFlags & Blending)) {
        if (comboCount[player] < 2) StartAttack(fighter, player);
        SetLatch(player, true);
        return;
    }
    if (m.motionFlags & Locked) return;
    if (fighter.actionFlags & Airborne) {
        Choose(fighter, Jump);
        return;
    }
    if (fighter.actionFlags & Moving) {
        Choose(fighter, Walk);
        return;
    }
    Choose(fighter, Way);
}

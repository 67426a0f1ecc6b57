// The computer's play: close to striking range, strike (twice, for the
// finisher, at the higher levels), step out of a blow it sees coming, keep
// off the stage's edge and shove a fighter who stands near one. What it
// decides reaches its hands only after its level's reaction delay.
#include "combat/computer.h"

#include <cmath>

#include "combat/controls.h"
#include "combat/fighter.h"
#include "combat/movement.h"
#include "combat/playback.h"
#include "figure/math.h"
#include "figure/model.h"

Computer computers[2] = {};

namespace {

constexpr uint8_t Right = 0x1, Left = 0x2, Down = 0x4, Up = 0x8;
constexpr uint8_t Attack = 0x1;

struct Level {
    int reaction;      // frames from seeing to acting
    int reachError;    // the most it misjudges its reach by, either way
    int strikeChance;  // in 16, each frame it could strike and means to
    bool combo;        // follows a blow that lands with the finisher
    int dodgeChance;   // in 16, each frame a blow is coming its way
};
constexpr Level Levels[ComputerLevels] = {
    {14, 220, 3, false, 0},
    {7, 80, 8, true, 6},
    {2, 10, 16, true, 16},
};

// The long blades reach an opponent about this far away, root to root.
constexpr double Reach = 400.0;
// Nearer the edge than this, a finisher's knock-back could ring it out.
constexpr double EdgeMargin = 520.0;
// An opponent this near an edge is shoved toward it rather than struck.
constexpr double ShoveEdge = 260.0;
constexpr int FinisherDelay = 9;  // frames after the first press: the blow has landed

uint32_t Next(Computer& c) {
    // xorshift32: the same numbers on every machine and library.
    uint32_t x = c.random;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c.random = x;
    return x;
}

int Below(Computer& c, int n) { return static_cast<int>(Next(c) % static_cast<uint32_t>(n)); }

const Vec3& RootOf(int player) { return joints[player == 0 ? Fighter1Base : Fighter2Base].offset; }

bool Swinging(const Fighter& f) {
    const MotionState& m = f.motion;
    const bool blow = m.currentMotion == Slay || m.currentMotion == YokoGiri;
    const bool starting = (m.motionFlags & Blending) && (m.nextMotion == Slay || m.nextMotion == YokoGiri);
    return (f.actionFlags & AttackActive) && (blow || starting);
}

// The direction bits nearest a heading on the floor.
uint8_t Toward(double dx, double dz) {
    const double length = std::sqrt(dx * dx + dz * dz);
    if (length < 1.0) return 0;
    uint8_t bits = 0;
    if (dx > 0.38 * length) bits |= Right;
    if (dx < -0.38 * length) bits |= Left;
    if (dz > 0.38 * length) bits |= Up;
    if (dz < -0.38 * length) bits |= Down;
    return bits;
}

InputState Plan(Computer& c, int player, const InputState& last) {
    const Level& level = Levels[c.level - 1];
    const Fighter& me = fighters[player];
    const Fighter& foe = fighters[1 - player];
    const Vec3& at = RootOf(player);
    const Vec3& them = RootOf(1 - player);
    const double dx = them.x - at.x, dz = them.z - at.z;
    const double distance = std::sqrt(dx * dx + dz * dz);
    const Vec3 centre = StageCentre();
    if (c.sincePress < 255) ++c.sincePress;

    InputState plan{};
    if (me.health <= 0 || foe.health <= 0 || me.ringOut || foe.ringOut) return plan;

    const bool free = !(me.motion.motionFlags & Blending) && !(last.buttons & Attack);
    const double reach = Reach + c.reachError;
    const bool nearEdge = EdgeDistance(at) < EdgeMargin;
    const bool foeNearEdge = EdgeDistance(them) < ShoveEdge && EdgeDistance(at) > EdgeDistance(them) + 300.0;

    // The finisher: the second press once the first blow has landed.
    if (level.combo && free && comboCount[player] == 1 && c.sincePress == FinisherDelay) {
        plan.buttons = Attack;
        c.sincePress = 0;
        return plan;
    }
    // A blow coming: meet it with one of its own if it can strike, else step
    // straight back out of it; not with the edge behind, where a step back
    // could be the ring-out.
    if (Swinging(foe) && distance < Reach + 60.0 && !nearEdge && Below(c, 16) < level.dodgeChance) {
        if (free && distance <= reach && comboCount[player] == 0) {
            plan.buttons = Attack;
            c.sincePress = 0;
        } else {
            plan.directions = Toward(-dx, -dz);
        }
        return plan;
    }
    // Walking into a fighter shoves both apart: toward the edge behind it.
    if (foeNearEdge) {
        plan.directions = Toward(dx, dz);
        return plan;
    }
    if (distance <= reach && free && comboCount[player] == 0 && Below(c, 16) < level.strikeChance) {
        plan.buttons = Attack;
        c.sincePress = 0;
        c.reachError = static_cast<int16_t>(Below(c, 2 * level.reachError + 1) - level.reachError);
        return plan;
    }
    double mx = 0.0, mz = 0.0;
    if (distance > reach - 40.0) {
        mx += dx / distance;
        mz += dz / distance;
    }
    if (nearEdge) {
        const double cx = centre.x - at.x, cz = centre.z - at.z;
        const double length = std::sqrt(cx * cx + cz * cz);
        if (length > 1.0) {
            mx += 1.5 * cx / length;
            mz += 1.5 * cz / length;
        }
    }
    plan.directions = Toward(mx, mz);
    return plan;
}

}  // namespace

void SetComputer(int player, int level, uint32_t seed) {
    Computer& c = computers[player];
    c = Computer{};
    c.level = static_cast<uint8_t>(level);
    // Each fighter its own stream; xorshift never leaves 0, so 0 is not a state.
    c.random = seed * 2654435761u + static_cast<uint32_t>(player) * 40503u + 1u;
    if (c.random == 0) c.random = 1;
    c.sincePress = 255;
}

InputState ComputerInput(int player) {
    Computer& c = computers[player];
    if (c.level < 1 || c.level > ComputerLevels) return {};
    const int reaction = Levels[c.level - 1].reaction;
    const InputState last = c.plans[(c.frames + LongestReaction - 1) % LongestReaction];
    c.plans[c.frames % LongestReaction] = Plan(c, player, last);
    ++c.frames;
    // What it meant `reaction` frames ago; before then, nothing.
    c.held = c.frames > static_cast<uint32_t>(reaction)
                 ? c.plans[(c.frames - 1 - static_cast<uint32_t>(reaction)) % LongestReaction]
                 : InputState{};
    return c.held;
}

void PollComputer() {
    // pollInput runs twice a frame, for player 2's update first: the
    // computer thinks on that call and holds the same on the second.
    Computer& c = computers[1];
    if (c.polled == 0) ComputerInput(1);
    c.polled ^= 1;
    inputState = c.held;
}

// The hit pass: weapon against body, weapon against weapon, body against
// body, in both directions, then the stage checks. Contact is judged with
// one sphere per part around the mean of its transformed vertices.
#include "combat/hits.h"

#include <cmath>
#include <cstdint>

#include "combat/movement.h"
#include "combat/playback.h"
#include "devices/sound.h"

double knockBack[2] = {};

namespace {

constexpr int WeaponPart = 14;
constexpr int32_t BlowDamage = 100;
constexpr double BodyShove = 8.0;
constexpr double KnockBackSlowdown = 0.78;
constexpr uint32_t TouchColour = 0xFF0000;
constexpr uint32_t ApartColour = 0x00FF00;

int IndexOf(int partBase) { return partBase == Fighter1Base ? 0 : 1; }

// Health goes below zero freely; only the bottom of its range holds it, so
// a fighter long dead never wraps round to full health.
void TakeHealth(Fighter& fighter, int32_t amount) {
    const int64_t left = static_cast<int64_t>(fighter.health) - amount;
    fighter.health = left < INT32_MIN ? INT32_MIN : static_cast<int32_t>(left);
}

bool SphereCentre(const Joint& joint, Vec3& centre) {
    if (!joint.mesh || !joint.worldVerts || joint.mesh->vertexCount <= 0) return false;
    const int n = joint.mesh->vertexCount;
    Vec3 sum = {0.0, 0.0, 0.0};
    for (int i = 0; i < n; ++i) {
        sum.x += joint.worldVerts[i].x;
        sum.y += joint.worldVerts[i].y;
        sum.z += joint.worldVerts[i].z;
    }
    centre = {sum.x / n, sum.y / n, sum.z / n};
    return true;
}

void PaintFaces(Joint& joint, uint32_t colour) {
    if (!joint.mesh || !joint.mesh->faces) return;
    for (int i = 0; i < joint.mesh->faceCount; ++i) joint.mesh->faces[i].colour = colour;
}

// A knocked-back fighter slides away from its opponent, slowing down by
// 0.78 at each half of the hit pass.
void SlideKnockedBack() {
    for (int i = 0; i < 2; ++i) {
        if (knockBack[i] <= 0.0) continue;
        knockBack[i] -= KnockBackSlowdown;
        if (knockBack[i] > 0.0) {
            MoveAlong(joints[i == 0 ? Fighter1Base : Fighter2Base], fighterFacing[i], -knockBack[i]);
        }
    }
}

bool BodiesTouch() {
    return PartsTouch(joints[0], joints[15]) || PartsTouch(joints[3], joints[18]) ||
           PartsTouch(joints[6], joints[21]);
}

}  // namespace

bool PartsTouch(Joint& a, Joint& b) {
    Vec3 ca, cb;
    bool touch = false;
    if (SphereCentre(a, ca) && SphereCentre(b, cb)) {
        const double dx = ca.x - cb.x;
        const double dy = ca.y - cb.y;
        const double dz = ca.z - cb.z;
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        touch = a.radius + b.radius >= d;
    }
    PaintFaces(b, touch ? TouchColour : ApartColour);
    return touch;
}

void ResolveHit(Fighter& defender, Fighter& attacker, int defenderBase) {
    SlideKnockedBack();
    const int attackerBase = Fighter2Base - defenderBase;
    Joint& weapon = joints[attackerBase + WeaponPart];
    Joint& body = joints[defenderBase];
    Joint& guard = joints[defenderBase + WeaponPart];
    MotionState& dm = defender.motion;

    const bool weaponOnBody = PartsTouch(weapon, body);
    if (weaponOnBody && (attacker.actionFlags & AttackActive)) {
        const bool finisher = (attacker.actionFlags & Finisher) != 0;
        RequestMotion(defender, finisher ? RightDamage : UpDamage, Locked);
        TakeHealth(defender, BlowDamage);
        attacker.actionFlags &= ~AttackActive;
        if (finisher) knockBack[IndexOf(defenderBase)] = FinisherKnockBack;
        PlayEffect(hitSound);
    } else if (PartsTouch(weapon, guard) && (attacker.actionFlags & AttackActive)) {
        RequestMotion(defender, DownGrad, 0);
        attacker.actionFlags &= ~AttackActive;
        PlayEffect(sousatuSound);
    }

    if (BodiesTouch()) {
        // Each body is shoved straight back from the other: its heading
        // points at the opponent, so a negative step moves it away. Two
        // roots on one spot have no way apart and both face the same way;
        // fighter 2 then steps the other way, so they still part.
        const bool sameSpot = fighterFacing[0] == fighterFacing[1];
        MoveAlong(joints[Fighter1Base], fighterFacing[0], -BodyShove);
        MoveAlong(joints[Fighter2Base], fighterFacing[1], sameSpot ? BodyShove : -BodyShove);
        dm.frameCounter = 0;
        attacker.motion.nextMotion = UpGrad;
        dm.motionFlags = static_cast<uint16_t>(dm.motionFlags | Blending);
        dm.nextMotion = UpGrad;
        TakeHealth(defender, 1);
        TakeHealth(attacker, 1);
    }
}

void ResolveHits() {
    ResolveHit(fighter1, fighter2, Fighter1Base);
    ResolveHit(fighter2, fighter1, Fighter2Base);
    StageCheck(Fighter2Base, fighter2);
    StageCheck(Fighter1Base, fighter1);
}

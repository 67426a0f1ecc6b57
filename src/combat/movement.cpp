// Vertical motion of the roots, the stage bounds, facing, and the two small
// geometric steps the hits and the camera use.
#include "combat/movement.h"

#include <cmath>

#include "figure/math.h"

uint16_t fighterFacing[2] = {};

namespace {

constexpr double VerticalSlowdown = 0.078;
constexpr double GroundFallSpeed = 0.78;
constexpr double FallIncrease = 0.78;
constexpr double FallCap = 7.8;
constexpr double GroundStep = 0.01;
constexpr double StageLeft = -2108.0;
constexpr double StageRight = 1460.0;
constexpr double StageNear = -1800.0;
constexpr double StageFar = 2460.0;
// A root this far below its standing height would take the ground
// correction an endless while in steps of 0.01; it is put straight back on
// its feet (one step short, so the landing below still happens) instead.
// No step of the game moves a root that far.
constexpr double GroundStepLimit = 4096.0;

bool InsideStage(const Vec3& p) {
    return p.x > StageLeft && p.x < StageRight && p.z > StageNear && p.z < StageFar;
}

}  // namespace

void JumpStep(Fighter& fighter, int partBase) {
    if (!(fighter.actionFlags & Airborne)) return;
    if (fighter.verticalSpeed == 0.0) return;
    Vec3& root = joints[partBase].offset;
    root.y = (fighter.fallSpeed + root.y) + fighter.verticalSpeed;
    fighter.verticalSpeed = fighter.verticalSpeed - VerticalSlowdown;
}

void GravityStep(int partBase, Fighter& fighter) {
    if (fighter.fallSpeed < FallCap) fighter.fallSpeed = fighter.fallSpeed + FallIncrease;
    Vec3& root = joints[partBase].offset;
    root.y = root.y - fighter.fallSpeed;
}

void StageCheck(int partBase, Fighter& fighter) {
    Vec3& root = joints[partBase].offset;
    if (!InsideStage(root)) {
        fighter.health = 0;
        fighter.ringOut = 1;
    }
    const double floor = stageJoint.offset.y;
    if (fighter.ringOut == 0 && root.y - StandingHeight < floor - GroundStepLimit) {
        root.y = floor + StandingHeight - GroundStep;
    }
    while (root.y - StandingHeight < floor && fighter.ringOut == 0) {
        root.y = root.y + GroundStep;
        fighter.fallSpeed = GroundFallSpeed;
        fighter.actionFlags &= ~Airborne;
        fighter.verticalSpeed = fighter.jumpSpeed;
    }
}

double EdgeDistance(const Vec3& root) {
    const double sides[4] = {root.x - StageLeft, StageRight - root.x, root.z - StageNear, StageFar - root.z};
    double nearest = sides[0];
    for (double side : sides) nearest = side < nearest ? side : nearest;
    return nearest;
}

Vec3 StageCentre() { return {(StageLeft + StageRight) * 0.5, 0.0, (StageNear + StageFar) * 0.5}; }

void FaceFighters() {
    Joint& root1 = joints[Fighter1Base];
    Joint& root2 = joints[Fighter2Base];
    root1.angles[2] = TruncToAngle(AngleFromDelta(root1.offset, root2.offset));
    fighterFacing[0] = root1.angles[2];
    root2.angles[2] = TruncToAngle(AngleFromDelta(root2.offset, root1.offset));
    fighterFacing[1] = root2.angles[2];
}

void MoveAlong(Joint& joint, uint16_t angle, double distance) {
    joint.offset.z = joint.offset.z - Cosine(angle) * distance;
    joint.offset.x = joint.offset.x - Sine(angle) * distance;
}

double PartDistance(const Joint& a, const Joint& b) {
    const double dx = a.offset.x - b.offset.x;
    const double dy = a.offset.y - b.offset.y;
    const double dz = a.offset.z - b.offset.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Motion playback. The live pose is the working arrays of the key being
// played; each frame moves them a step toward the following key (or, in a
// blend, halfway toward the requested motion's first key) and writes them
// into the fighter's joints.
#include "combat/playback.h"

#include "figure/math.h"
#include "figure/motion_file.h"

namespace {

// The number of keys a fighter has for a motion; 0 when the motion is not
// there (not loaded yet, or no such motion number).
uint16_t KeyCountOf(const Fighter& fighter, uint16_t motion) {
    if (motion >= MotionCount || !fighter.motions[motion]) return 0;
    return fighter.motions[motion][0].keyCount;
}

MotionKey* KeyOf(Fighter& fighter, uint16_t motion, uint16_t key) {
    return key < KeyCountOf(fighter, motion) ? &fighter.motions[motion][key] : nullptr;
}

// An angle takes the shorter way round to its target.
double ShorterWay(double d) {
    if (d > 256.0) d -= 512.0;
    if (d < -256.0) d += 512.0;
    return d;
}

// Frames over which a key divides the way to the next one. Data with a
// duration shorter than its key count would give 0; it steps whole then.
int StepDivisor(const MotionKey& key) {
    const int k = key.keyCount != 0 ? key.duration / key.keyCount : key.duration;
    return k < 1 ? 1 : k;
}

struct JointStep {
    double angle[3];
    Vec3 position;
};

void StepPose(Joint* jointTable, MotionKey& cur, const MotionKey& target, int firstJoint, int count, bool blending) {
    const double divisor = static_cast<double>(StepDivisor(cur));
    JointStep steps[PartsPerFigure];
    for (int l = 0; l < count; ++l) {
        double d[6];
        for (int a = 0; a < 3; ++a) d[a] = ShorterWay(target.workAngles[a][l] - cur.workAngles[a][l]);
        d[3] = target.workPositions[l].x - cur.workPositions[l].x;
        d[4] = target.workPositions[l].y - cur.workPositions[l].y;
        d[5] = target.workPositions[l].z - cur.workPositions[l].z;
        for (double& v : d) v = blending ? v * 0.5 : v / divisor;
        steps[l] = {{d[0], d[1], d[2]}, {d[3], d[4], d[5]}};
    }
    for (int l = 0; l < count; ++l) {
        Joint& joint = jointTable[firstJoint + l];
        for (int a = 0; a < 3; ++a) {
            cur.workAngles[a][l] += steps[l].angle[a];
            joint.angles[a] = TruncToAngle(cur.workAngles[a][l]);
        }
        Vec3& work = cur.workPositions[l];
        work.x += steps[l].position.x;
        work.y += steps[l].position.y;
        work.z += steps[l].position.z;
        const Vec3& stored = cur.storedPositions[l];
        joint.offset.x += (work.x - stored.x) * 0.25;
        joint.offset.y += (work.y - stored.y) * 0.25;
        joint.offset.z += (work.z - stored.z) * 0.25;
    }
}

// The played key has run out: on to the next key, or back to key 0 at a
// Loop, or into a blend toward the requested motion at an End. A motion
// whose last key carries neither flag goes round as if it had Loop, so the
// key index never passes the last key.
void FinishKey(Fighter& fighter, MotionKey& finished) {
    MotionState& m = fighter.motion;
    const uint16_t keyCount = KeyCountOf(fighter, m.currentMotion);
    m.currentKey = static_cast<uint16_t>(m.currentKey + 1);
    m.frameCounter = 0;
    RestoreKey(finished);
    const bool pastLast = m.currentKey >= keyCount;
    if (finished.keyFlags & End) {
        m.motionFlags = static_cast<uint16_t>((m.motionFlags & ~(Locked | Requested)) | Blending);
        if (pastLast) m.currentKey = 0;
    } else if ((finished.keyFlags & Loop) || pastLast) {
        m.currentKey = 0;
        m.motionFlags = static_cast<uint16_t>(m.motionFlags & ~(Locked | Requested));
    }
}

}  // namespace

void AdvanceMotion(Joint* jointTable, Fighter& fighter, int firstJoint, int lastJoint) {
    MotionState& m = fighter.motion;
    MotionKey* cur = KeyOf(fighter, m.currentMotion, m.currentKey);
    if (!cur) return;  // nothing loaded to play from
    const bool blending = (m.motionFlags & Blending) != 0;

    // The target key; a blend toward a motion that is not there holds the
    // pose where it is.
    const MotionKey* target = nullptr;
    if (blending) {
        target = KeyOf(fighter, m.nextMotion, 0);
    } else {
        target = KeyOf(fighter, m.currentMotion,
                       static_cast<uint16_t>((m.currentKey + 1) % KeyCountOf(fighter, m.currentMotion)));
    }
    if (!target) target = cur;

    int count = lastJoint - firstJoint;
    if (count > PartsPerFigure) count = PartsPerFigure;
    StepPose(jointTable, *cur, *target, firstJoint, count, blending);

    m.frameCounter = static_cast<uint16_t>(m.frameCounter + 1);
    if (blending && m.frameCounter >= BlendFrames) {
        RestoreKey(*cur);
        m.motionFlags = static_cast<uint16_t>(m.motionFlags & ~Blending);
        m.frameCounter = 0;
        m.currentKey = 0;
        // Only a motion that is there can be taken up.
        if (KeyCountOf(fighter, m.nextMotion) != 0) m.currentMotion = m.nextMotion;
        return;
    }
    if (m.frameCounter > cur->duration) FinishKey(fighter, *cur);
}

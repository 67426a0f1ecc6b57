// The battle camera: placed every battle frame from the two roots, by the
// placement F6 selects.
#include "combat/camera.h"

#include "combat/movement.h"
#include "figure/math.h"
#include "figure/model.h"
#include "figure/transform.h"

namespace {

Vec3 Midpoint() {
    const Vec3& a = joints[Fighter1Base].offset;
    const Vec3& b = joints[Fighter2Base].offset;
    return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5};
}

double RootDistance() { return PartDistance(joints[Fighter1Base], joints[Fighter2Base]); }

}  // namespace

void UpdateCamera(uint8_t mode) {
    switch (mode) {
    case 0:
        CameraOverview();
        break;
    case 1:
    case 2:
        CameraCircle(mode);
        break;
    case 3:
        CameraFromFighter(Fighter1Base, Fighter2Base);
        break;
    case 4:
        CameraFromFighter(Fighter2Base, Fighter1Base);
        break;
    default:
        break;
    }
}

// Behind the fighters on the -z side, backing off as they separate, and
// turned from last frame's eye toward this frame's midpoint.
void CameraOverview() {
    const double r = 3.0 * RootDistance() + 600.0;
    const uint16_t a = 256;
    const Vec3 previousEye = {cameraPosition.x, 0.0, cameraPosition.z};
    const Vec3 m = Midpoint();
    cameraAngles[2] = TruncToAngle(AngleFromDelta({m.x, 0.0, m.z}, previousEye));
    cameraAngles[1] = 0;
    cameraPosition = {m.x + r * Sine(a), 200.0, m.z + r * Cosine(a)};
}

// On the vertical circle through the midpoint, placed with the tilt of the
// previous frame: below the fighters in mode 1, above them in mode 2.
void CameraCircle(uint8_t mode) {
    const double d = RootDistance();
    const Vec3 m = Midpoint();
    const uint16_t a = cameraAngles[1];
    const double r = 4.0 * d + 240.0;
    cameraPosition = {m.x, m.y + r * Sine(a), m.z + r * Cosine(a)};
    cameraAngles[1] = mode == 1 ? 384 : 128;
}

// From the viewing fighter's root at a fixed height, toward the other.
void CameraFromFighter(int viewerBase, int otherBase) {
    const Joint& viewer = joints[viewerBase];
    const Joint& other = joints[otherBase];
    cameraAngles[2] = TruncToAngle(AngleFromDelta(other.offset, viewer.offset));
    cameraAngles[0] = viewer.angles[0];
    cameraAngles[1] = viewer.angles[1];
    cameraPosition = {viewer.offset.x, 300.0, viewer.offset.z};
}

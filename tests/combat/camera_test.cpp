// The battle camera's placements from the two roots, frame after frame:
// each mode starts from what the last frame left.
#include "combat/camera.h"

#include "combat/combat_fixture.h"
#include "figure/transform.h"

TEST(Camera, EveryModePlacesTheEyeFromTheRootsAndLastFramesView) {
    FillSineTable();
    PlaceRoots();
    cameraPosition = {-100.0, 300.0, -2000.0};
    cameraAngles[1] = 384;
    cameraAngles[2] = 0;
    const double r = 4.0 * 448.0 + 240.0;
    const struct {
        uint8_t mode;
        double root2x;
        Vec3 at;
        uint16_t yaw;
    } frames[] = {
        {0, 124.0, {-100.0, 200.0, -100.0 - 1944.0}, 0},  // 3 x 448 + 600 behind the midpoint
        {1, 124.0, {-100.0, 256.0, -100.0 + r}, 0},       // the overview's level tilt
        {1, 124.0, {-100.0, 256.0 - r, -100.0}, 0},       // from then on straight below
        {2, 124.0, {-100.0, 256.0 - r, -100.0}, 0},       // mode 1's tilt once more
        {2, 124.0, {-100.0, 256.0 + r, -100.0}, 0},       // then above
        {3, 124.0, {-324.0, 300.0, -100.0}, 128},         // fighter 1's root at height 300, toward fighter 2
        {4, 124.0, {124.0, 300.0, -100.0}, 65408},        // fighter 2's, toward fighter 1
        {5, 124.0, {124.0, 300.0, -100.0}, 65408},        // no such mode: left alone
        {0, 524.0, {100.0, 200.0, -100.0 - 3144.0}, 65408},  // parted: backs off, turned from the last eye
    };
    for (const auto& f : frames) {
        joints[15].offset.x = f.root2x;
        UpdateCamera(f.mode);
        const Vec3& c = cameraPosition;
        EXPECT_LT(std::hypot(c.x - f.at.x, c.y - f.at.y, c.z - f.at.z), 1e-9) << int(f.mode) << ": " << c.x;
        EXPECT_EQ(cameraAngles[2], f.yaw) << int(f.mode);
    }
}

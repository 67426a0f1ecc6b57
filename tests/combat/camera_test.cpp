// The battle camera's placements from the two roots.
#include "combat/camera.h"

#include "combat/combat_fixture.h"
#include "figure/transform.h"

namespace {

class Camera : public ::testing::Test {
protected:
    void SetUp() override {
        FillSineTable();
        joints[0].offset = {-324.0, 256.0, -100.0};  // 448 apart on one x line
        joints[15].offset = {124.0, 256.0, -100.0};
        cameraPosition = {-100.0, 300.0, -2000.0};
        cameraAngles[0] = cameraAngles[1] = cameraAngles[2] = 0;
    }
    void ExpectAt(double x, double y, double z) {
        EXPECT_NEAR(cameraPosition.x, x, 1e-9);
        EXPECT_NEAR(cameraPosition.y, y, 1e-9);
        EXPECT_NEAR(cameraPosition.z, z, 1e-9);
    }
};

TEST_F(Camera, TheOverviewStandsBehindTheMidpointAndTurnsFromTheLastEye) {
    cameraAngles[1] = 384;
    UpdateCamera(0);
    ExpectAt(-100.0, 200.0, -100.0 - 1944.0);  // 3 x 448 + 600 behind
    EXPECT_EQ(cameraAngles[2], 0);
    EXPECT_EQ(cameraAngles[1], 0);

    cameraPosition = {-1100.0, 200.0, -100.0};
    joints[15].offset.x = 524.0;  // the fighters part: the eye backs off
    UpdateCamera(0);
    EXPECT_EQ(cameraAngles[2], 128);  // from where the eye was toward the new midpoint
    ExpectAt(100.0, 200.0, -100.0 - (3.0 * 848.0 + 600.0));
}

TEST_F(Camera, TheCircleModesUseLastFramesTilt) {
    const double r = 4.0 * 448.0 + 240.0;
    UpdateCamera(1);  // first frame after the overview: tilt 0
    ExpectAt(-100.0, 256.0, -100.0 + r);
    UpdateCamera(1);  // from then on straight below the midpoint
    ExpectAt(-100.0, 256.0 - r, -100.0);
    UpdateCamera(2);  // switching on: placed with mode 1's tilt, then above
    EXPECT_NEAR(cameraPosition.y, 256.0 - r, 1e-9);
    UpdateCamera(2);
    EXPECT_NEAR(cameraPosition.y, 256.0 + r, 1e-9);
}

TEST_F(Camera, TheFighterViewsStandAtTheViewersRootAtHeightThreeHundred) {
    joints[0].angles[0] = 5;
    joints[0].offset.y = 412.5;  // in the middle of a jump
    UpdateCamera(3);
    ExpectAt(-324.0, 300.0, -100.0);
    EXPECT_EQ(cameraAngles[2], 128);  // toward fighter 2
    EXPECT_EQ(cameraAngles[0], 5);
    UpdateCamera(4);
    ExpectAt(124.0, 300.0, -100.0);
    EXPECT_EQ(cameraAngles[2], 65408);  // -128: toward fighter 1

    UpdateCamera(5);  // a mode above four leaves the camera alone
    ExpectAt(124.0, 300.0, -100.0);
    EXPECT_EQ(cameraAngles[2], 65408);
}

}  // namespace

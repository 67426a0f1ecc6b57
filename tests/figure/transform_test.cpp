#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <vector>

#include "display/surface.h"
#include "figure/passes.h"
#include "figure_setup.h"
#include "raster/guarded_frame.h"

namespace {

using Transform = BuiltFigures;

TEST_F(Transform, CarriesPointsThroughTheJointChain) {
    Vec3 chin = {0, 0, -50};
    TransformToWorld(joints[1], &chin, 1);
    EXPECT_EQ(chin.x, -324);
    EXPECT_EQ(chin.y, 60);
    EXPECT_EQ(chin.z, -150);
    joints[0].angles[2] = 128;  // the root's quarter turn about y turns its children's offsets
    Vec3 shoulder = {0, 0, 0};
    TransformToWorld(joints[2], &shoulder, 1);
    EXPECT_NEAR(shoulder.x, -324, 1e-9);
    EXPECT_NEAR(shoulder.z, -36, 1e-9);
}

TEST_F(Transform, ProjectsKnownPointsFromTheBuildEye) {
    Vec3 points[2] = {{-100, 300, 0}, {0, 300, 0}};
    Vec3 screen[2] = {};
    uint32_t flags = 0;
    SubtractEye(points, 2);
    RotateToView(points, 2);
    EXPECT_TRUE(ProjectPoints(screen, points, flags, 2));
    ToScreen(screen, 2);
    EXPECT_EQ(flags, InFront);
    EXPECT_DOUBLE_EQ(screen[0].x, 160);
    EXPECT_DOUBLE_EQ(screen[0].y, 120);
    EXPECT_DOUBLE_EQ(screen[1].x, 185);
}

// In front means beyond z = 1, and NaN is not. The first point that is not
// stops the projection; it and the points after it keep what they held.
TEST(ProjectPoints, NearLimitAndEarlyStop) {
    Vec3 out[3] = {{-7, -7, -7}, {-7, -7, -7}, {-7, -7, -7}};
    uint32_t flags = InFront | ShadowOn;
    const Vec3 atLimit[3] = {{10, 10, 2}, {1, 1, 1.0}, {5, 5, 5}};
    EXPECT_FALSE(ProjectPoints(out, atLimit, flags, 3));
    EXPECT_EQ(flags, ShadowOn);
    EXPECT_EQ(out[0].x, 2500);
    EXPECT_EQ(out[1].x, -7);
    EXPECT_EQ(out[2].x, -7);
    const Vec3 justBeyond = {1, -1, 1.0000001};
    EXPECT_TRUE(ProjectPoints(out, &justBeyond, flags, 1));
    EXPECT_EQ(flags, ShadowOn | InFront);
    const Vec3 unknown = {0, 0, std::numeric_limits<double>::quiet_NaN()};
    EXPECT_FALSE(ProjectPoints(out, &unknown, flags, 1));
}

TEST_F(Transform, AnOutlineReachingTheEyeHidesTheJoint) {
    cameraPosition = {-324, 0, -155.5};  // the torso's near face is at z -150, its outline's at -155
    TransformJoint(meshes[0], joints[0], 0.0);
    EXPECT_EQ(joints[0].flags & InFront, InFront);
    joints[0].flags |= OutlineOn;
    TransformJoint(meshes[0], joints[0], 0.0);
    EXPECT_EQ(joints[0].flags & InFront, 0u);
}

// Faces are sorted on world z relative to the eye, before the view turn:
// turning the camera leaves the torso's order, far side (faces 4 and 5)
// first, near side (0 and 1) last.
TEST_F(Transform, FaceOrderFollowsWorldZNotViewZ) {
    TransformJoint(meshes[0], joints[0], 0.0);
    const std::vector<int32_t> straight(joints[0].faceOrder, joints[0].faceOrder + 12);
    EXPECT_EQ(std::set<int32_t>(straight.begin(), straight.begin() + 2), (std::set<int32_t>{4, 5}));
    EXPECT_EQ(std::set<int32_t>(straight.end() - 2, straight.end()), (std::set<int32_t>{0, 1}));
    cameraAngles[2] = 128;
    TransformJoint(meshes[0], joints[0], 0.0);
    EXPECT_EQ(std::vector<int32_t>(joints[0].faceOrder, joints[0].faceOrder + 12), straight);
}

// A light level with the floor casts every shadow to infinity or NaN: the
// shadows drop out, the figures are drawn, nothing lands off the screen.
TEST_F(Transform, ShadowsWithoutADivisorDropOutHarmlessly) {
    for (Joint& joint : joints) joint.flags |= ShadowOn;
    LightVector = {1000, 0, 0};
    ShadeMode = 1;
    GuardedFrame frame;
    frameBits = frame.pixels();
    framePitch = frame.Pitch;
    UpdateFigures();
    DrawFigures();
    frameBits = nullptr;
    for (Joint& joint : joints) {
        EXPECT_EQ(joint.shadowFlags & InFront, 0u);
        EXPECT_EQ(joint.flags & InFront, InFront);
    }
    EXPECT_TRUE(frame.guardIntact());
    EXPECT_GT(frame.writtenCount(), 10000);
}

}  // namespace

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "display/surface.h"
#include "figure/passes.h"
#include "figure_setup.h"
#include "raster/guarded_frame.h"

namespace {

using Transform = BuiltFigures;

// In front means beyond z = 1, and NaN is not. The first point that is not
// stops the projection; it and the points after it keep what they held.
TEST(ProjectPoints, NearLimitAndEarlyStop) {
    Vec3 out[3] = {{-7, -7, -7}, {-7, -7, -7}, {-7, -7, -7}};
    uint32_t flags = InFront | ShadowOn;
    const Vec3 atLimit[3] = {{10, 10, 2}, {1, 1, 1.0}, {5, 5, 5}};
    EXPECT_FALSE(ProjectPoints(out, atLimit, flags, 3));
    EXPECT_EQ(flags, ShadowOn);
    EXPECT_EQ((std::vector<double>{out[0].x, out[1].x, out[2].x}), (std::vector<double>{2500, -7, -7}));
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

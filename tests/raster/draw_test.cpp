#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "display/surface.h"
#include "guarded_frame.h"
#include "raster/draw.h"
#include "raster/shade.h"

namespace {

// A square part, projected sets in pixels: the upper left half faces the
// eye, the lower right half turns its back.
struct TestPart {
    std::vector<Vec3> world = {{20, 20, 0}, {60, 20, 0}, {20, 60, 0}, {60, 60, 0}};
    std::vector<Vec3> screen = world, shadow = world, outline = world, vertexNormals = world;
    std::vector<Face> faces = {{0, 1, 2, 0x804020}, {1, 2, 3, 0x804020}};
    std::vector<Vec3> faceNormals = {{0, 1, 0}, {0, 1, 0}};
    std::vector<int32_t> order = {0, 1};
    std::vector<double> faceShades = {1.0, 1.0}, vertexShades = {-1, -1, -1, -1};
    Mesh mesh = {world.data(), faces.data(), 4, 2};
    Joint joint = {};

    TestPart() {
        joint = {&mesh, world.data(), screen.data(), nullptr, shadow.data(), nullptr, nullptr, outline.data(),
                 {}, vertexNormals.data(), faceNormals.data(), order.data(), {}, 0, faceShades.data(),
                 vertexShades.data(), InFront, 0, nullptr};
    }
};

struct DrawTest : ::testing::Test {
    GuardedFrame frame;
    TestPart part;
    void SetUp() override {
        frameBits = frame.pixels();
        framePitch = frame.Pitch;
        LightVector = {0, 3000, 0};
    }
    void TearDown() override {
        EXPECT_TRUE(frame.guardIntact());
        frameBits = nullptr;
    }
};

TEST(ScreenTriangle, CornersInFaceOrderAndClockwiseFacingWithWrappingProducts) {
    const Vec3 projected[3] = {{-0.9, 319.9, 0}, {-1.5, 1e20, 0}, {std::nan(""), -1e20, 0}};
    const ScreenTriangle t = MakeScreenTriangle(projected, Face{2, 0, 1, 0});
    EXPECT_EQ((std::vector<int32_t>{t.x0, t.y0, t.x1, t.y1, t.x2, t.y2}),
              (std::vector<int32_t>{0, INT32_MIN, 0, 319, -1, INT32_MAX}));

    EXPECT_FALSE(IsFrontFacing({0, 0, 65536, 0, 0, 32768}));      // 2^31 wraps to the most negative value
    EXPECT_TRUE(IsFrontFacing({0, 0, 0, 65536, 65536, 0}));       // -2^32 wraps to 0
    EXPECT_TRUE(IsFrontFacing({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX}));  // (-1)(-1) - 0
}

TEST_F(DrawTest, EmptyOrBrokenPartsDrawNothing) {
    part.joint.flags = InFront | ShadowOn | OutlineOn;
    part.joint.shadowFlags = InFront;
    part.joint.faceOrder = nullptr;
    for (int32_t count : {0, -1, INT32_MIN}) {
        part.mesh.faceCount = count;
        for (uint8_t mode : {0, 1, 2, 3, 4, 255}) DrawPart(mode, part.mesh, part.joint);
        DrawPartShadow(part.mesh, part.joint);
    }
    EXPECT_EQ(part.vertexShades[0], -1.0);  // no intensities worked out either
    // Modes beyond the table draw nothing; nor does anything without a frame.
    part.mesh.faceCount = 2;
    part.joint.faceOrder = part.order.data();
    part.joint.flags = InFront;
    DrawPart(4, part.mesh, part.joint);
    frameBits = nullptr;
    DrawPart(1, part.mesh, part.joint);
    frameBits = frame.pixels();
    EXPECT_EQ(frame.writtenCount(), 0);
}

}  // namespace

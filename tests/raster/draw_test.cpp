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

    EXPECT_TRUE(IsFrontFacing({0, 0, 10, 0, 0, 10}));
    EXPECT_FALSE(IsFrontFacing({0, 0, 0, 10, 10, 0}));
    EXPECT_TRUE(IsFrontFacing({5, 5, 10, 10, 20, 20}));           // edge-on
    EXPECT_FALSE(IsFrontFacing({0, 0, 65536, 0, 0, 32768}));      // 2^31 wraps to the most negative value
    EXPECT_TRUE(IsFrontFacing({0, 0, 0, 65536, 65536, 0}));       // -2^32 wraps to 0
    EXPECT_TRUE(IsFrontFacing({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX}));  // (-1)(-1) - 0
}

TEST_F(DrawTest, EachModeFillsFrontFacesInItsOwnColour) {
    part.faceShades = {0.5, 0.5};
    const uint32_t expected[3] = {0x102040, 0x402010, 0x7F7F7F};  // exchanged, scaled, grey
    for (uint8_t mode = 0; mode < 4; ++mode) {
        frame.clear();
        DrawPart(mode, part.mesh, part.joint);
        EXPECT_EQ(frame.writtenCount(), mode == 3 ? 0 : 41 * 42 / 2) << "mode " << int(mode);
        if (mode < 3) {
            EXPECT_EQ(frame.at(20, 20), expected[mode]);
        }
    }
}

// Smooth fill works the vertex intensities out anew from the face normals.
TEST_F(DrawTest, GouraudRecomputesVertexIntensitiesFromTheFaceNormals) {
    part.faceNormals = {{0, 0, -5}, {0, 0, -5}};  // upright under an overhead light: 0.625
    part.faces.pop_back();
    part.mesh.faceCount = 1;
    DrawPartGouraud(frameBits, framePitch, part.mesh, part.joint);
    EXPECT_EQ(part.vertexShades[0], 0.625);
    EXPECT_EQ(frame.at(21, 21), ScaleColour(0x204080, 0.625));
    EXPECT_TRUE(std::isnan(part.vertexShades[3]));  // no face uses it
}

TEST_F(DrawTest, FacesAreDrawnFarToNearAndADegenerateFaceLeavesOnePixel) {
    part.faces = {{0, 1, 2, 0xFF0000}, {0, 1, 2, 0x0000FF}};
    part.order = {1, 0};
    DrawPartFlat(frameBits, framePitch, part.mesh, part.joint);
    EXPECT_EQ(frame.at(21, 21), 0xFF0000u);

    // No normal to shade it by, so its colour scales to 0.
    part.screen[0] = {100.7, 50.2, 0};
    part.faces = {{0, 0, 0, 0xFFFFFF}};
    part.mesh.faceCount = 1;
    part.order = {0};
    ShadeFacesNormal(LightVector, part.world.data(), part.faces.data(), part.faceShades.data(), 1);
    for (uint8_t mode = 0; mode < 3; ++mode) {
        frame.clear();
        DrawPart(mode, part.mesh, part.joint);
        EXPECT_EQ(frame.writtenCount(), 1);
        EXPECT_EQ(frame.at(100, 50), 0u) << "mode " << int(mode);
    }
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

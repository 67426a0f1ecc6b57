#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "display/surface.h"
#include "guarded_frame.h"
#include "raster/draw.h"
#include "raster/shade.h"

namespace {

// A joint with its own work arrays, its projected sets given in pixels.
struct TestPart {
    std::vector<Vec3> world, screen, shadow, outline, vertexNormals, faceNormals;
    std::vector<Face> faces;
    std::vector<int32_t> order;
    std::vector<double> faceShades, vertexShades;
    Mesh mesh = {};
    Joint joint = {};

    TestPart(std::vector<Vec3> points, std::vector<Face> faceList)
        : world(points), screen(points), shadow(points), outline(points), vertexNormals(points.size()),
          faceNormals(faceList.size(), Vec3{0, 1, 0}), faces(faceList), faceShades(faceList.size(), 1.0),
          vertexShades(points.size(), -1.0) {
        for (int32_t f = 0; f < int32_t(faces.size()); ++f) order.push_back(f);
        mesh = {world.data(), faces.data(), int32_t(points.size()), int32_t(faces.size())};
        joint.mesh = &mesh;
        joint.worldVerts = world.data();
        joint.screenVerts = screen.data();
        joint.shadowScreenVerts = shadow.data();
        joint.outlineScreenVerts = outline.data();
        joint.vertexNormals = vertexNormals.data();
        joint.faceNormals = faceNormals.data();
        joint.faceOrder = order.data();
        joint.faceShades = faceShades.data();
        joint.vertexShades = vertexShades.data();
        joint.flags = InFront;
    }
};

// Four corners of a square on screen. The upper left half runs clockwise
// and faces the eye; the lower right half turns its back.
const std::vector<Vec3> square = {{20, 20, 0}, {60, 20, 0}, {20, 60, 0}, {60, 60, 0}};
const Face front = {0, 1, 2, 0x804020};
const Face back = {1, 2, 3, 0x804020};

struct DrawTest : ::testing::Test {
    GuardedFrame frame;
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

TEST(ScreenTriangle, CornersTruncateTowardZeroInFaceOrder) {
    const Vec3 projected[3] = {{-0.9, 319.9, 0}, {-1.5, 1e20, 0}, {std::nan(""), -1e20, 0}};
    ScreenTriangle t = MakeScreenTriangle(projected, Face{2, 0, 1, 0});
    EXPECT_EQ(t.x0, 0);
    EXPECT_EQ(t.y0, INT32_MIN);
    EXPECT_EQ(t.x1, 0);
    EXPECT_EQ(t.y1, 319);
    EXPECT_EQ(t.x2, -1);
    EXPECT_EQ(t.y2, INT32_MAX);
}

TEST(ScreenTriangle, FrontFacingIsClockwiseWithWrappingProducts) {
    EXPECT_TRUE(IsFrontFacing({0, 0, 10, 0, 0, 10}));
    EXPECT_FALSE(IsFrontFacing({0, 0, 0, 10, 10, 0}));
    EXPECT_TRUE(IsFrontFacing({5, 5, 10, 10, 20, 20}));  // edge-on
    // 65536 x 32768 is 2^31, which wraps to the most negative value.
    EXPECT_FALSE(IsFrontFacing({0, 0, 65536, 0, 0, 32768}));
    // -65536 x 65536 wraps to 0 and so counts as facing the eye.
    EXPECT_TRUE(IsFrontFacing({0, 0, 0, 65536, 65536, 0}));
    // Differences beyond 32 bits wrap as well: (-1) x (-1) - 0 = 1.
    EXPECT_TRUE(IsFrontFacing({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX}));
}

TEST(ScaleColourTest, ScalesEachChannelAndKeepsItsLowBits) {
    EXPECT_EQ(ScaleColour(0xFF804020, 1.0), 0x804020u);
    EXPECT_EQ(ScaleColour(0x804020, 0.5), 0x402010u);
    EXPECT_EQ(ScaleColour(0x804020, 0.999), 0x7F3F1Fu);
    EXPECT_EQ(ScaleColour(0x804020, 2.0), 0x008040u);
    EXPECT_EQ(ScaleColour(0x804020, std::nan("")), 0u);
}

TEST_F(DrawTest, EachModeFillsFrontFacesInItsOwnColour) {
    EXPECT_EQ(DrawMode, 0);
    TestPart part(square, {front, back});
    part.faceShades = {0.5, 0.5};
    const uint32_t expected[3] = {0x102040, 0x402010, 0x7F7F7F};  // exchanged, scaled, grey
    for (uint8_t mode = 0; mode < 3; ++mode) {
        frame.clear();
        DrawPart(mode, part.mesh, part.joint);
        EXPECT_EQ(frame.at(21, 21), expected[mode]) << "mode " << int(mode);
        EXPECT_EQ(frame.at(20, 20), expected[mode]);
        EXPECT_FALSE(frame.written(58, 58));  // the back face's half of the square is empty
    }
    frame.clear();
    DrawPart(3, part.mesh, part.joint);
    EXPECT_EQ(frame.writtenCount(), 0);
}

TEST_F(DrawTest, GouraudRecomputesVertexIntensitiesFromTheFaceNormals) {
    TestPart part(square, {front});
    part.faceNormals = {{0, 0, -5}};  // upright under an overhead light: 0.625 at every vertex
    DrawPartGouraud(frameBits, framePitch, part.mesh, part.joint);
    EXPECT_EQ(part.vertexShades[0], 0.625);
    EXPECT_EQ(part.vertexNormals[1].z, -5.0);
    EXPECT_EQ(frame.at(21, 21), ScaleColour(0x204080, 0.625));
    EXPECT_TRUE(std::isnan(part.vertexShades[3]));  // no face uses it
}

TEST_F(DrawTest, FacesAreDrawnFarToNear) {
    const Face red = {0, 1, 2, 0xFF0000}, blue = {0, 1, 2, 0x0000FF};
    TestPart part(square, {red, blue});
    part.order = {1, 0};
    DrawPartFlat(frameBits, framePitch, part.mesh, part.joint);
    EXPECT_EQ(frame.at(21, 21), 0xFF0000u);
}

TEST_F(DrawTest, DegenerateFaceLeavesOnePixelOfColourZero) {
    TestPart part({{100.7, 50.2, 0}, {5, 5, 0}}, {{0, 0, 0, 0xFFFFFF}});
    // Its shade has no normal to work from, and the colour scales to 0.
    ShadeFacesNormal(LightVector, part.world.data(), part.faces.data(), part.faceShades.data(), 1);
    for (uint8_t mode = 0; mode < 3; ++mode) {
        frame.clear();
        DrawPart(mode, part.mesh, part.joint);
        EXPECT_EQ(frame.writtenCount(), 1);
        EXPECT_EQ(frame.at(100, 50), 0u) << "mode " << int(mode);
    }
}

TEST_F(DrawTest, OutlinePaintsOnlyTheBackFacesOfTheOutlineSet) {
    // The figure set is off to the side so that only the outline lands in
    // the square; face 1 turns its back in the outline set.
    TestPart part(square, {front, back});
    for (Vec3& p : part.screen) p.x += 200;
    part.joint.flags = InFront | OutlineOn;
    DrawPart(3, part.mesh, part.joint);
    EXPECT_EQ(frame.at(58, 58), OutlineColour);
    EXPECT_FALSE(frame.written(21, 21));
    EXPECT_FALSE(frame.written(221, 21));  // mode 3: nothing of the figure itself

    // The outline waits for the figure to be in front; the figure for the
    // outline does not.
    frame.clear();
    part.joint.flags = OutlineOn;
    DrawPart(1, part.mesh, part.joint);
    EXPECT_EQ(frame.writtenCount(), 0);
    part.joint.flags = InFront;
    DrawPart(1, part.mesh, part.joint);
    EXPECT_FALSE(frame.written(21, 21));
    EXPECT_TRUE(frame.written(221, 21));
}

TEST_F(DrawTest, ShadowNeedsItsSwitchAndItsProjection) {
    TestPart part(square, {front, back});
    for (Vec3& p : part.screen) p.x += 200;
    part.joint.flags = InFront | ShadowOn;
    part.joint.shadowFlags = 0;
    DrawPartShadow(part.mesh, part.joint);
    part.joint.flags = InFront;
    part.joint.shadowFlags = InFront;
    DrawPartShadow(part.mesh, part.joint);
    EXPECT_EQ(frame.writtenCount(), 0);

    part.joint.flags = ShadowOn;  // the figure itself need not be in front
    DrawPartShadow(part.mesh, part.joint);
    EXPECT_EQ(frame.at(21, 21), ShadowColour);
    EXPECT_FALSE(frame.written(58, 58));  // back faces cast nothing
    EXPECT_FALSE(frame.written(221, 21));
}

TEST_F(DrawTest, EmptyOrBrokenPartsDrawNothing) {
    TestPart part(square, {front});
    part.joint.flags = InFront | ShadowOn | OutlineOn;
    part.joint.shadowFlags = InFront;
    part.joint.faceOrder = nullptr;
    for (int32_t count : {0, -1, INT32_MIN}) {
        part.mesh.faceCount = count;
        for (uint8_t mode : {0, 1, 2, 3, 4, 255}) DrawPart(mode, part.mesh, part.joint);
        DrawPartShadow(part.mesh, part.joint);
    }
    EXPECT_EQ(frame.writtenCount(), 0);
    EXPECT_EQ(part.vertexShades[0], -1.0);  // no intensities worked out either

    // Modes beyond the table draw nothing; nor does anything without a
    // locked frame target.
    part.mesh.faceCount = 1;
    part.joint.faceOrder = part.order.data();
    part.joint.flags = InFront;
    DrawPart(4, part.mesh, part.joint);
    frameBits = nullptr;
    DrawPart(1, part.mesh, part.joint);
    frameBits = frame.pixels();
    EXPECT_EQ(frame.writtenCount(), 0);
}

}  // namespace

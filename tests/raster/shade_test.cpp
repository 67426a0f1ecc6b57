#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "raster/shade.h"

namespace {

std::vector<double> Xyz(const Vec3& p) { return {p.x, p.y, p.z}; }

// The centroid model's shade of a face whose corners all sit at p.
double CentroidShade(const Vec3& p, const Vec3& light) {
    const Vec3 points[3] = {p, p, p};
    const Face face = {0, 1, 2, 0xFFFFFF};
    double shade = -1.0;
    ShadeFacesCentroid(light, points, &face, &shade, 1);
    return shade;
}

// The light's mirror point in x and z is (-300, 3000, -400): a face centred
// at twice it lies straight beyond it from the origin, the darkest shade;
// half-way, the lightest.
TEST(Shade, CentroidModelMirrorsTheLightInXAndZ) {
    const Vec3 light = {300, 3000, 400}, far = {-600, 6000, -800}, half = {-150, 1500, -200};
    EXPECT_NEAR(CentroidShade(far, light), 0.4, 1e-12);
    EXPECT_NEAR(CentroidShade(half, light), 1.0, 1e-12);
}

// From the light's point onto the floor; a vertex level with the light goes
// to infinity (or 0 / 0); one above it or at it stops the projection, and
// it and the vertices after it keep what they held.
TEST(Shade, ShadowFromPointIsTheCentralProjection) {
    LightVector = {0, 3000, 0};
    const Vec3 verts[4] = {{100, 1000, 50}, {-300, 0, 20}, {100, 3000, 0}, {-100, 3000, 5}};
    Vec3 shadow[4] = {};
    EXPECT_TRUE(ProjectShadowFromPoint(verts, shadow, 4, 7.0));
    EXPECT_EQ(Xyz(shadow[0]), (std::vector<double>{150, 7, 75}));
    EXPECT_EQ(Xyz(shadow[1]), (std::vector<double>{-300, 7, 20}));  // on the floor already
    EXPECT_EQ(shadow[2].x, -INFINITY);
    EXPECT_TRUE(std::isnan(shadow[2].z));
    EXPECT_EQ(shadow[3].z, -INFINITY);
    for (Vec3 stopper : {Vec3{0, 3000.5, 0}, Vec3{0, 3000, 0}}) {
        const Vec3 stopped[3] = {{100, 1000, 50}, stopper, {10, 10, 10}};
        Vec3 out[3] = {{-1, -2, -3}, {-1, -2, -3}, {-1, -2, -3}};
        EXPECT_FALSE(ProjectShadowFromPoint(stopped, out, 3, 0.0));
        EXPECT_EQ(out[0].x, 150.0);
        EXPECT_EQ(Xyz(out[1]), (std::vector<double>{-1, -2, -3}));
        EXPECT_EQ(Xyz(out[2]), (std::vector<double>{-1, -2, -3}));
    }
}

// Along the light as a direction: straight under each vertex for a light
// overhead, slanted for a slanted one; a light from below or none stops it,
// a level one passes with no divisor.
TEST(Shade, ShadowAlongTheLightIsParallel) {
    const Vec3 verts[2] = {{-324.25, 60.5, -150.125}, {12.3, 456.7, 1e5}};
    Vec3 shadow[2] = {};
    LightVector = {0, 3000, 0};
    EXPECT_TRUE(ProjectShadowAlongVector(verts, shadow, 2, 3.0));
    EXPECT_EQ(Xyz(shadow[1]), (std::vector<double>{12.3, 3, 1e5}));
    LightVector = {1000, 2000, -500};  // x moves by half the height, z by a quarter
    EXPECT_TRUE(ProjectShadowAlongVector(verts, shadow, 2, 0.0));
    EXPECT_NEAR(shadow[0].x, -324.25 - 60.5 * 0.5, 1e-9);
    EXPECT_NEAR(shadow[0].z, -150.125 + 60.5 * 0.25, 1e-9);
    for (Vec3 light : {Vec3{0, -1000, 0}, Vec3{0, 0, 0}}) {
        LightVector = light;
        shadow[0].x = 7;
        EXPECT_FALSE(ProjectShadowAlongVector(verts, shadow, 2, 0.0));
        EXPECT_EQ(shadow[0].x, 7.0);
    }
    LightVector = {100, 0, 0};
    EXPECT_TRUE(ProjectShadowAlongVector(verts, shadow, 2, 0.0));
    EXPECT_TRUE(std::isinf(shadow[0].x));
}

}  // namespace

namespace {

// A vertex's normal is its faces' normals summed in face order, and with
// these magnitudes any other order gives another sum: 1e16 + 1 - 1e16 is 0,
// but 1e16 - 1e16 + 1 is 1. A face naming a corner twice counts once there,
// and a corner past the vertex count belongs to no vertex.
TEST(Shade, VertexNormalsSumTheirFacesInFaceOrder) {
    const Face faces[] = {{0, 1, 1, 0}, {1, 0, 9, 0}, {0, 2, 1, 0}, {2, 2, 2, 0}};
    const Vec3 normals[] = {{1e16, 0, 0}, {1, 2, 0}, {-1e16, 0, 3}, {0, 5, 0}};
    Vec3 vertexNormals[3];
    double shades[3];
    ComputeVertexIntensities({0, 1000, 0}, vertexNormals, normals, faces, shades, 3, 4);
    EXPECT_EQ(Xyz(vertexNormals[0]), (std::vector<double>{0, 2, 3}));   // (1e16 + 1) - 1e16
    EXPECT_EQ(Xyz(vertexNormals[1]), (std::vector<double>{0, 2, 3}));
    EXPECT_EQ(Xyz(vertexNormals[2]), (std::vector<double>{-1e16, 5, 3}));
    EXPECT_DOUBLE_EQ(shades[2], (5.0 / std::sqrt(1e32 + 25.0 + 9.0) + 1.0) * 0.5 * 0.75 + 0.25);
}

}  // namespace

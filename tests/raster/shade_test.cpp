#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "raster/shade.h"

namespace {

std::vector<double> Xyz(const Vec3& p) { return {p.x, p.y, p.z}; }

// One face of corners a, b, c (its normal is (b - a) x (c - a)) shaded by
// routine under the light.
double ShadeOf(FaceShadeRoutine routine, Vec3 a, Vec3 b, Vec3 c, const Vec3& light = {0, 3000, 0}) {
    const Vec3 points[3] = {a, b, c};
    const Face face = {0, 1, 2, 0xFFFFFF};
    double shade = -1.0;
    routine(light, points, &face, &shade, 1);
    return shade;
}

// Under a light overhead: a face turned up, one upright, one turned down,
// and tilted faces at t = 0.724, 0.658 and 0.342 to the vertical for the
// toon model's bands, whose top one starts at 0.7.
TEST(Shade, NormalModelFromQuarterToFullAndToonInFourBands) {
    const Vec3 o = {0, 0, 0}, x = {1, 0, 0}, z = {0, 0, 1};
    EXPECT_DOUBLE_EQ(ShadeOf(ShadeFacesNormal, o, z, x), 1.0);
    EXPECT_DOUBLE_EQ(ShadeOf(ShadeFacesNormal, o, x, {0, 1, 0}), 0.625);
    EXPECT_DOUBLE_EQ(ShadeOf(ShadeFacesNormal, o, x, z), 0.25);
    const double toon[] = {ShadeOf(ShadeFacesToon, o, z, x), ShadeOf(ShadeFacesToon, o, x, {0, 1, 0}),
                           ShadeOf(ShadeFacesToon, o, x, z), ShadeOf(ShadeFacesToon, o, z, {1, 2, 0}),
                           ShadeOf(ShadeFacesToon, o, z, {1, 3, 0}), ShadeOf(ShadeFacesToon, o, z, {-1, 3, 0})};
    EXPECT_EQ(std::vector<double>(toon, toon + 6), (std::vector<double>{1.0, 0.5, 0.0, 1.0, 0.5, 0.25}));
}

// The light's mirror point in x and z is (-300, 3000, -400): a face centred
// at twice it lies straight beyond it from the origin, the darkest shade;
// half-way, the lightest.
TEST(Shade, CentroidModelMirrorsTheLightInXAndZ) {
    const Vec3 light = {300, 3000, 400}, far = {-600, 6000, -800}, half = {-150, 1500, -200};
    EXPECT_NEAR(ShadeOf(ShadeFacesCentroid, far, far, far, light), 0.4, 1e-12);
    EXPECT_NEAR(ShadeOf(ShadeFacesCentroid, half, half, half, light), 1.0, 1e-12);
}

// Vertex 0 is shared by a face turned up and one turned sideways; vertex 3
// is on the up face only, vertex 2 on the sideways one.
TEST(Shade, VertexIntensitiesSumTheNormalsOfTheFacesAround) {
    const Vec3 faceNormals[2] = {{0, 4, 0}, {4, 0, 0}};
    const Face faces[2] = {{0, 3, 1, 0}, {2, 0, 4, 0}};
    Vec3 normals[5] = {{9, 9, 9}, {9, 9, 9}, {9, 9, 9}, {9, 9, 9}, {9, 9, 9}};
    double shades[5] = {};
    ComputeVertexIntensities({0, 3000, 0}, normals, faceNormals, faces, shades, 5, 2);
    EXPECT_EQ(Xyz(normals[0]), (std::vector<double>{4, 4, 0}));
    EXPECT_EQ(Xyz(normals[3]), (std::vector<double>{0, 4, 0}));
    EXPECT_DOUBLE_EQ(shades[0], (std::sqrt(0.5) + 1.0) * 0.5 * 0.75 + 0.25);
    EXPECT_DOUBLE_EQ(shades[3], 1.0);
    EXPECT_DOUBLE_EQ(shades[2], 0.625);
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

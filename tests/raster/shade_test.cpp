#include <gtest/gtest.h>

#include <cmath>

#include "raster/shade.h"

namespace {

// Three single-face meshes seen under a light straight overhead: a face
// turned up, one standing upright and one turned down. The normal of a face
// is (V1 - V0) x (V2 - V0).
const Vec3 upFace[3] = {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}};
const Vec3 uprightFace[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
const Vec3 downFace[3] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
const Face oneFace[1] = {{0, 1, 2, 0xFFFFFF}};

double ShadeOf(FaceShadeRoutine routine, const Vec3* points, const Vec3& light) {
    double shade = -1.0;
    routine(light, points, oneFace, &shade, 1);
    return shade;
}

// A face whose normal is (-b, a, 0), at cos a / |(a, b)| to the vertical.
double ToonShadeTilted(double a, double b) {
    const Vec3 points[3] = {{0, 0, 0}, {0, 0, 1}, {a, b, 0}};
    return ShadeOf(ShadeFacesToon, points, {0, 3000, 0});
}

TEST(Shade, StartsWithTheLightOverheadAndTheNormalModel) {
    EXPECT_EQ(LightVector.y, 1000.0);
    EXPECT_EQ(LightVector.x + LightVector.z, 0.0);
    EXPECT_EQ(ShadeMode, 1);
}

TEST(Shade, NormalModelRunsFromQuarterToFull) {
    const Vec3 light = {0, 3000, 0};
    EXPECT_DOUBLE_EQ(ShadeOf(ShadeFacesNormal, upFace, light), 1.0);
    EXPECT_DOUBLE_EQ(ShadeOf(ShadeFacesNormal, uprightFace, light), 0.625);
    EXPECT_DOUBLE_EQ(ShadeOf(ShadeFacesNormal, downFace, light), 0.25);
}

TEST(Shade, ToonModelHasFourBandsWithTheTopFromPointSeven) {
    const Vec3 light = {0, 3000, 0};
    EXPECT_EQ(ShadeOf(ShadeFacesToon, upFace, light), 1.0);
    EXPECT_EQ(ShadeOf(ShadeFacesToon, uprightFace, light), 0.5);
    EXPECT_EQ(ShadeOf(ShadeFacesToon, downFace, light), 0.0);
    EXPECT_EQ(ToonShadeTilted(1, 2), 1.0);    // t = 0.724: above 0.7, below 0.75
    EXPECT_EQ(ToonShadeTilted(1, 3), 0.5);    // t = 0.658
    EXPECT_EQ(ToonShadeTilted(-1, 3), 0.25);  // t = 0.342
}

TEST(Shade, CentroidModelMirrorsTheLightInXAndZ) {
    // The light's mirror point is (-300, 3000, -400). A face centred at
    // twice that point lies straight beyond it, seen from the origin: the
    // darkest shade. Centred half-way between, the lightest.
    const Vec3 light = {300, 3000, 400};
    const Vec3 far[3] = {{-600, 6000, -800}, {-600, 6000, -800}, {-600, 6000, -800}};
    const Vec3 half[3] = {{-150, 1500, -200}, {-150, 1500, -200}, {-150, 1500, -200}};
    EXPECT_NEAR(ShadeOf(ShadeFacesCentroid, far, light), 0.4, 1e-12);
    EXPECT_NEAR(ShadeOf(ShadeFacesCentroid, half, light), 1.0, 1e-12);

    // Any face lands between the two.
    for (int x = -2000; x <= 2000; x += 250) {
        for (int z = -2000; z <= 2000; z += 250) {
            const Vec3 points[3] = {{double(x), 0, double(z)}, {x + 40.0, 10, z + 0.0}, {x + 0.0, 80, z + 30.0}};
            double shade = ShadeOf(ShadeFacesCentroid, points, light);
            EXPECT_GE(shade, 0.4);
            EXPECT_LE(shade, 1.0);
        }
    }
}

TEST(Shade, VertexIntensitiesSumTheNormalsOfTheFacesAround) {
    // Vertex 0 is shared by a face turned up (normal length 4) and one
    // turned sideways (length 4); vertex 3 is on the up face only.
    const Vec3 faceNormals[2] = {{0, 4, 0}, {4, 0, 0}};
    const Face faces[2] = {{0, 3, 1, 0}, {2, 0, 4, 0}};
    Vec3 vertexNormals[5] = {{9, 9, 9}, {9, 9, 9}, {9, 9, 9}, {9, 9, 9}, {9, 9, 9}};
    double shades[5] = {};
    ComputeVertexIntensities({0, 3000, 0}, vertexNormals, faceNormals, faces, shades, 5, 2);
    EXPECT_EQ(vertexNormals[0].x, 4.0);
    EXPECT_EQ(vertexNormals[0].y, 4.0);
    EXPECT_EQ(vertexNormals[0].z, 0.0);
    EXPECT_EQ(vertexNormals[3].x, 0.0);
    EXPECT_DOUBLE_EQ(shades[0], (std::sqrt(0.5) + 1.0) * 0.5 * 0.75 + 0.25);
    EXPECT_DOUBLE_EQ(shades[3], 1.0);
    EXPECT_DOUBLE_EQ(shades[2], 0.625);
}

TEST(Shade, ShadowFromPointIsTheCentralProjection) {
    LightVector = {0, 3000, 0};
    const Vec3 verts[2] = {{100, 1000, 50}, {-300, 0, 20}};
    Vec3 shadow[2] = {};
    EXPECT_TRUE(ProjectShadowFromPoint(verts, shadow, 2, 7.0));
    EXPECT_DOUBLE_EQ(shadow[0].x, 150.0);
    EXPECT_DOUBLE_EQ(shadow[0].z, 75.0);
    EXPECT_EQ(shadow[0].y, 7.0);
    EXPECT_DOUBLE_EQ(shadow[1].x, -300.0);  // on the floor already
    EXPECT_DOUBLE_EQ(shadow[1].z, 20.0);
}

TEST(Shade, ShadowFromPointStopsAtTheFirstVertexWithoutShadow) {
    LightVector = {0, 3000, 0};
    const Vec3 sentinel = {-1, -2, -3};
    for (Vec3 stopper : {Vec3{0, 3000.5, 0}, Vec3{0, 3000, 0}}) {  // above the light; the light itself
        const Vec3 verts[3] = {{100, 1000, 50}, stopper, {10, 10, 10}};
        Vec3 shadow[3] = {sentinel, sentinel, sentinel};
        EXPECT_FALSE(ProjectShadowFromPoint(verts, shadow, 3, 0.0));
        EXPECT_DOUBLE_EQ(shadow[0].x, 150.0);
        for (int i = 1; i < 3; ++i) {
            EXPECT_EQ(shadow[i].x, sentinel.x);
            EXPECT_EQ(shadow[i].y, sentinel.y);
            EXPECT_EQ(shadow[i].z, sentinel.z);
        }
    }
}

TEST(Shade, ShadowLevelWithTheLightGoesToInfinity) {
    LightVector = {0, 3000, 0};
    const Vec3 verts[2] = {{100, 3000, 0}, {-100, 3000, 5}};
    Vec3 shadow[2] = {};
    EXPECT_TRUE(ProjectShadowFromPoint(verts, shadow, 2, 0.0));
    EXPECT_EQ(shadow[0].x, -INFINITY);
    EXPECT_TRUE(std::isnan(shadow[0].z));  // 0 / 0
    EXPECT_EQ(shadow[1].x, INFINITY);
    EXPECT_EQ(shadow[1].z, -INFINITY);
}

TEST(Shade, ShadowAlongTheLightIsParallel) {
    const Vec3 verts[3] = {{-324.25, 60.5, -150.125}, {12.3, 456.7, 89.1}, {-0.1, 0.2, 1e5}};
    Vec3 shadow[3] = {};
    LightVector = {0, 3000, 0};  // straight up: each shadow right under its vertex
    EXPECT_TRUE(ProjectShadowAlongVector(verts, shadow, 3, 3.0));
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(shadow[i].x, verts[i].x);
        EXPECT_DOUBLE_EQ(shadow[i].z, verts[i].z);
        EXPECT_EQ(shadow[i].y, 3.0);
    }
    LightVector = {1000, 2000, -500};  // slanted: x moves by half the height, z by a quarter
    EXPECT_TRUE(ProjectShadowAlongVector(verts, shadow, 3, 0.0));
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(shadow[i].x, verts[i].x - verts[i].y * 0.5, 1e-9);
        EXPECT_NEAR(shadow[i].z, verts[i].z + verts[i].y * 0.25, 1e-9);
    }
}

TEST(Shade, ShadowAlongTheLightStopsForALightFromBelowOrNone) {
    const Vec3 verts[2] = {{1, 2, 3}, {4, 5, 6}};
    for (Vec3 light : {Vec3{0, -1000, 0}, Vec3{0, 0, 0}}) {
        LightVector = light;
        Vec3 shadow[2] = {{7, 7, 7}, {7, 7, 7}};
        EXPECT_FALSE(ProjectShadowAlongVector(verts, shadow, 2, 0.0));
        EXPECT_EQ(shadow[0].x, 7.0);
        EXPECT_EQ(shadow[1].x, 7.0);
    }
    LightVector = {100, 0, 0};  // level light: no divisor, no stop
    Vec3 shadow[2] = {};
    EXPECT_TRUE(ProjectShadowAlongVector(verts, shadow, 2, 0.0));
    EXPECT_TRUE(std::isinf(shadow[0].x));
}

}  // namespace

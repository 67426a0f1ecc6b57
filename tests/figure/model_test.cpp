#include <gtest/gtest.h>

#include <set>

#include "figure_setup.h"

namespace {

bool Same(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

using FigureModel = BuiltFigures;

TEST_F(FigureModel, TwoFiguresOfFifteenPartsWithTheirPaddingFaces) {
    for (int base : {0, 15}) {
        int vertices = 0, faces = 0;
        for (int k = base; k < base + 15; ++k) {
            vertices += meshes[k].vertexCount;
            faces += meshes[k].faceCount;
        }
        EXPECT_EQ(vertices, 152);
        EXPECT_EQ(faces, 240);
        EXPECT_EQ(joints[base].parent, nullptr);
        EXPECT_EQ(joints[base + 14].parent, &joints[base + 4]);  // the weapon in the first hand
    }
    EXPECT_TRUE(Same(joints[0].offset, {-324, 0, -100}));
    EXPECT_TRUE(Same(joints[15].offset, {124, 0, -100}));
    // Faces past a part's own are padding: three zero corners, colour 0.
    auto padding = [](const Face& f) { return f.a == 0 && f.b == 0 && f.c == 0 && f.colour == 0; };
    EXPECT_TRUE(padding(meshes[1].faces[33]));
    EXPECT_FALSE(padding(meshes[1].faces[32]));
    EXPECT_EQ(joints[14].outlineModel[25].x, meshes[14].vertices[25].x * 1.1);
}

// The grid is not centred: the truncated step 666 stops it short of the
// far edges. Its colours come from the runtime's generator from state 1,
// whose first numbers are 41, 18467, 6334, 26500, 19169, 15724.
TEST_F(FigureModel, FloorGridOfTwentyFiveColouredSquares) {
    ASSERT_EQ(stageMesh.vertexCount, 36);
    ASSERT_EQ(stageMesh.faceCount, 50);
    EXPECT_TRUE(Same(stageMesh.vertices[1], {-1334, 2000, 0}));
    EXPECT_TRUE(Same(stageMesh.vertices[35], {1330, -1330, 0}));
    EXPECT_EQ(stageMesh.faces[0].colour, 0x296BD6u);
    EXPECT_EQ(stageMesh.faces[1].colour, 0x296BD6u);
    EXPECT_EQ(stageMesh.faces[2].colour, 0xEB2CA9u);
    std::set<uint32_t> colours;
    for (int k = 0; k < 50; ++k) colours.insert(stageMesh.faces[k].colour);
    EXPECT_EQ(colours.size(), 25u);
}

TEST(FreeJoint, ReleasesEverythingOnceAndSkipsWhatWasNeverBuilt) {
    Mesh mesh = {};
    Joint joint = {};
    FreeJoint(mesh, joint);
    const Vec3 points[3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const Face face = {0, 1, 2, 0x123456};
    BuildMesh(mesh, joint, points, &face, 3, 1, 10);
    EXPECT_EQ(joint.screenVerts[2].x, 0.0);  // work arrays start zeroed
    BuildMesh(mesh, joint, points, &face, 3, 1, 10);  // rebuilt without a leak
    FreeJoint(mesh, joint);
    EXPECT_EQ(mesh.vertices, nullptr);
    EXPECT_EQ(joint.vertexShades, nullptr);
    EXPECT_EQ(mesh.faceCount, 0);
    FreeJoint(mesh, joint);
}

}  // namespace

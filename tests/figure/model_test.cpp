#include <gtest/gtest.h>

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

}  // namespace

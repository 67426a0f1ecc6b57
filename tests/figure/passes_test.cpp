#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "combat/fighter.h"
#include "display/surface.h"
#include "figure/passes.h"
#include "figure_setup.h"
#include "raster/draw.h"

namespace {

// Equal depths are never exchanged with each other, but an exchange with a
// deeper joint carries the first past the second.
TEST(SortJointsByDepth, FarthestFirstAndEqualDepthsAsTheExchangesLeaveThem) {
    Vec3 points[3] = {{3, 0, 4}, {0, 5, 0}, {0, 0, 7}};
    Mesh meshTable[3] = {};
    Joint jointTable[3] = {};
    for (int k = 0; k < 3; ++k) {
        meshTable[k].vertexCount = 1;
        jointTable[k].worldVerts = &points[k];
    }
    int32_t order[3] = {-1, -1, -1};
    SortJointsByDepth(meshTable, jointTable, order, 3);
    EXPECT_EQ(std::vector<int32_t>(order, order + 3), (std::vector<int32_t>{2, 1, 0}));
}

TEST(MeanPointDistance, IsTheDistanceOfTheMeanPoint) {
    const Vec3 points[3] = {{0, 0, 0}, {9, 12, 0}, {0, 0, 0}};
    EXPECT_DOUBLE_EQ(MeanPointDistance(points, 3), 5.0);
}

// Traced by hand through the partition steps: the three keys of 2 (indices
// 0, 2 and 3) end in the order 3, 2, 0, where a stable sort would keep
// 0, 2, 3.
TEST(QuickSortDescending, EqualKeysEndWhereThePartitionPutsThem) {
    double keys[5] = {2, 1, 2, 2, 3};
    int32_t indices[5] = {0, 1, 2, 3, 4};
    QuickSortDescending(keys, indices, 0, 4);
    EXPECT_EQ(std::vector<double>(keys, keys + 5), (std::vector<double>{3, 2, 2, 2, 1}));
    EXPECT_EQ(std::vector<int32_t>(indices, indices + 5), (std::vector<int32_t>{4, 3, 2, 0, 1}));

    // Any order in, a descending order out, every index carried along.
    double many[50];
    int32_t order[50];
    for (int k = 0; k < 50; ++k) {
        many[k] = (k * 37) % 11;
        order[k] = k;
    }
    QuickSortDescending(many, order, 0, 49);
    for (int k = 0; k < 50; ++k) {
        EXPECT_EQ(many[k], (order[k] * 37) % 11);
        if (k > 0) {
            EXPECT_GE(many[k - 1], many[k]);
        }
    }

    // Keys of unknown value stop the scans early but never out of range.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double odd[6] = {nan, 4, nan, 1, 9, nan};
    int32_t oddOrder[6] = {0, 1, 2, 3, 4, 5};
    QuickSortDescending(odd, oddOrder, 0, 5);
    std::sort(oddOrder, oddOrder + 6);
    EXPECT_EQ(std::vector<int32_t>(oddOrder, oddOrder + 6), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
}

using DrawPass = BuiltFigures;

int Coloured(const std::vector<uint32_t>& frame) {
    int n = 0;
    for (uint32_t p : frame) n += p != 0x808080;
    return n;
}

std::vector<uint32_t> Drawn() {
    std::vector<uint32_t> frame(320 * 240, 0x808080);
    frameBits = frame.data();
    framePitch = 320;
    UpdateFigures();
    DrawFigures();
    frameBits = nullptr;
    return frame;
}

// With the figures hidden (mode 3) only the floor and the shadows remain,
// and they go as soon as either fighter is out of the ring.
TEST_F(DrawPass, FloorAndShadowsOnlyWhileBothFightersAreOnTheStage) {
    DrawMode = 3;
    EXPECT_GT(Coloured(Drawn()), 20000);
    fighters[1].ringOut = 1;
    EXPECT_EQ(Coloured(Drawn()), 0);
    DrawMode = 1;
    const std::vector<uint32_t> figuresOnly = Drawn();
    EXPECT_GT(Coloured(figuresOnly), 1000);
    EXPECT_EQ(figuresOnly[239 * 320], 0x808080u);  // no floor in the corner
}

}  // namespace

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

// Keys of unknown value stop the partition's scans early but never out of
// range, and every index is kept. (The order of equal keys is guarded by
// the stills' hashes.)
TEST(QuickSortDescending, UnknownKeysKeepEveryIndexInRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double odd[6] = {nan, 4, nan, 1, 9, nan};
    int32_t oddOrder[6] = {0, 1, 2, 3, 4, 5};
    QuickSortDescending(odd, oddOrder, 0, 5);
    std::sort(oddOrder, oddOrder + 6);
    EXPECT_EQ(std::vector<int32_t>(oddOrder, oddOrder + 6), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
}

using DrawPass = BuiltFigures;

std::vector<uint32_t> Drawn() {
    std::vector<uint32_t> frame(320 * 240, 0x808080);
    frameBits = frame.data();
    framePitch = 320;
    UpdateFigures();
    DrawFigures();
    frameBits = nullptr;
    return frame;
}

int Count(const std::vector<uint32_t>& frame, uint32_t colour) { return int(std::count(frame.begin(), frame.end(), colour)); }

// The floor and the shadows go down only while both fighters are on the
// stage (the stills guard the order they go down in); mode 3 hides the
// figures themselves.
TEST_F(DrawPass, NoFloorAndNoShadowsOnceAFighterIsOut) {
    for (Joint& joint : joints) joint.flags |= ShadowOn;
    fighters[1].ringOut = 1;
    DrawMode = 1;
    const std::vector<uint32_t> figuresOnly = Drawn();
    EXPECT_LE(Count(figuresOnly, ShadowColour), 1);  // a padding face's pixel of colour 0
    EXPECT_EQ(figuresOnly[239 * 320], 0x808080u);  // no floor in the corner
    EXPECT_LT(Count(figuresOnly, 0x808080), 320 * 240 - 1000);
    DrawMode = 3;
    EXPECT_EQ(Count(Drawn(), 0x808080), 320 * 240);
}

}  // namespace

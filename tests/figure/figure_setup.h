// What the figure tests start from: the sine table as the game's data holds
// it, the two figures and the floor built (released after each test), and
// the scratch folder and data files of support/scratch_files.h.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "figure/math.h"
#include "figure/model.h"
#include "figure/transform.h"
#include "raster/shade.h"
#include "support/scratch_files.h"
#include "support/sine_table.h"

// A point's coordinates as a list, to compare and print in one go.
inline std::vector<double> Xyz(const Vec3& p) { return {p.x, p.y, p.z}; }

struct BuiltFigures : ::testing::Test {
    void SetUp() override {
        FillSineTable();
        LightVector = {0, 3000, 0};
        BuildFigures();
    }
    void TearDown() override { FreeFigures(); }
};

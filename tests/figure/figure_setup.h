// What the figure tests start from: the sine table as the game's data holds
// it, and the two figures and the floor built (released after each test).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>

#include <unistd.h>

#include "figure/math.h"
#include "figure/model.h"
#include "figure/transform.h"
#include "raster/shade.h"

inline void FillSineTable() {
    for (int i = 0; i < 512; ++i) SinTable[i] = std::sin(2.0 * std::numbers::pi * i / 512.0);
}

struct BuiltFigures : ::testing::Test {
    void SetUp() override {
        FillSineTable();
        LightVector = {0, 3000, 0};
        BuildFigures();
    }
    void TearDown() override { FreeFigures(); }
};

// An empty folder of this test's own, made the current directory for as
// long as the object lives.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : before(std::filesystem::current_path()),
          path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        std::filesystem::current_path(path);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(before);
        std::filesystem::remove_all(path);
    }
    const std::filesystem::path before, path;
};

// What the figure tests start from: the sine table as the game's data holds
// it, the two figures and the floor built (released after each test), and
// files written into a scratch folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include <unistd.h>

#include "figure/math.h"
#include "figure/model.h"
#include "figure/transform.h"
#include "raster/shade.h"
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

// An empty folder, the current directory for as long as the object lives.
struct ScratchFolder {
    const std::filesystem::path before = std::filesystem::current_path(), path;
    explicit ScratchFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        std::filesystem::current_path(path);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(before);
        std::filesystem::remove_all(path);
    }
};

// A data file's bytes, every value little-endian.
struct FileBytes {
    std::vector<uint8_t> bytes;
    FileBytes& Put(uint64_t v, int size) {
        for (int b = 0; b < size; ++b) bytes.push_back(static_cast<uint8_t>(v >> (8 * b)));
        return *this;
    }
    FileBytes& Put(double v) { return Put(std::bit_cast<uint64_t>(v), 8); }
    FileBytes& Cut(size_t size) {
        bytes.resize(size);
        return *this;
    }
    // Writes the file by the game's name, backslashes as folders.
    void Write(std::string name) const {
        for (char& c : name) c = c == '\\' ? '/' : c;
        const std::filesystem::path folder = std::filesystem::path(name).parent_path();
        if (!folder.empty()) std::filesystem::create_directories(folder);
        std::ofstream(name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

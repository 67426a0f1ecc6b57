#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "app/shell.h"
#include "figure_setup.h"
#include "support/game_harness.h"

namespace {

// Writes "file/SinTable.file" into the current folder, the doubles laid out
// little-endian byte by byte.
void WriteTable(const std::vector<double>& values, size_t bytes) {
    std::filesystem::create_directories("file");
    std::vector<char> raw;
    for (double v : values) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int b = 0; b < 8; ++b) raw.push_back(static_cast<char>(bits >> (8 * b)));
    }
    raw.resize(bytes);
    std::ofstream("file/SinTable.file", std::ios::binary).write(raw.data(), static_cast<std::streamsize>(raw.size()));
}

TEST(SineTable, ReadsLittleEndianDoublesAndAShortFileLeavesTheRest) {
    ScratchFolder folder("tessaline-sine");
    std::vector<double> values(512);
    for (int i = 0; i < 512; ++i) values[i] = i * 0.5 - 100.0;
    WriteTable(values, 4096);
    EXPECT_TRUE(LoadSineTable());
    EXPECT_EQ(SinTable[0], -100.0);
    EXPECT_EQ(SinTable[511], 155.5);

    for (double& v : SinTable) v = 7.0;
    WriteTable({0.25, -0.75, 3.0}, 16);  // two whole entries
    EXPECT_TRUE(LoadSineTable());
    EXPECT_EQ(SinTable[0], 0.25);
    EXPECT_EQ(SinTable[1], -0.75);
    EXPECT_EQ(SinTable[2], 7.0);
    EXPECT_EQ(SinTable[511], 7.0);
}

TEST(SineTable, MissingFileGivesOneMessageOwnedByTheWindowAndNoSecondAttempt) {
    ScratchFolder folder("tessaline-nosine");
    int window = 0;
    mainWindow = reinterpret_cast<platform::Window*>(&window);
    EnsureSineTable();
    WriteTable(std::vector<double>(512, 1.0), 4096);  // too late: no second look
    EnsureSineTable();
    mainWindow = nullptr;
    EXPECT_EQ(sineTableLoaded, 1);
    EXPECT_EQ(MessageBoxes(), std::vector<std::string>{"ERROR|ファイルをオープン出来ません"});
    ASSERT_EQ(platform::headless::Events().size(), 1u);
    EXPECT_TRUE(platform::headless::Events()[0].owned);
    for (double v : SinTable) EXPECT_EQ(v, 0.0);
}

// A quarter turn about each axis in turn, applied Z first, then X, then Y:
// +x goes to +y, then to +z, then to +x again.
TEST(RotatePoints, TurnsAboutZThenXThenY) {
    FillSineTable();
    auto turned = [](uint16_t z, uint16_t x, uint16_t y, Vec3 p) {
        uint16_t angles[3] = {z, x, y};
        RotatePoints(angles, &p, 1);
        return p;
    };
    auto near = [](Vec3 a, Vec3 b) {
        return std::abs(a.x - b.x) < 1e-12 && std::abs(a.y - b.y) < 1e-12 && std::abs(a.z - b.z) < 1e-12;
    };
    EXPECT_TRUE(near(turned(128, 0, 0, {1, 0, 0}), {0, 1, 0}));
    EXPECT_TRUE(near(turned(0, 128, 0, {0, 1, 0}), {0, 0, 1}));
    EXPECT_TRUE(near(turned(0, 0, 128, {0, 0, 1}), {1, 0, 0}));
    EXPECT_TRUE(near(turned(128, 128, 0, {1, 0, 0}), {0, 0, 1}));
    EXPECT_TRUE(near(turned(128, 128, 128, {1, 0, 0}), {1, 0, 0}));
    EXPECT_TRUE(near(turned(0, 128, 128, {1, 0, 0}), {0, 0, -1}));
    // The caller's angles are reduced in place.
    uint16_t angles[3] = {600, 65535, 512};
    RotatePoints(angles, nullptr, 0);
    EXPECT_EQ(angles[0], 88);
    EXPECT_EQ(angles[1], 511);
    EXPECT_EQ(angles[2], 0);
}

TEST(AngleFromDelta, UsesTheGamesOwnHalfTurn) {
    EXPECT_EQ(AngleFromDelta({0, 0, 0}, {0, 0, -1}), 0.0);
    EXPECT_NEAR(AngleFromDelta({1, 0, 0}, {0, 0, 0}), 128.0649, 0.0001);
    EXPECT_EQ(TruncToAngle(AngleFromDelta({1, 0, 0}, {0, 0, 0})), 128);
    EXPECT_EQ(TruncToAngle(AngleFromDelta({-1, 0, 0}, {0, 0, 0})), 65536 - 128);
    // The fighters' start places: fighter 2 lies along +x of fighter 1.
    EXPECT_EQ(TruncToAngle(AngleFromDelta({-324, 0, -100}, {124, 0, -100})) & 511, 384);
}

}  // namespace

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "app/shell.h"
#include "figure_setup.h"
#include "support/game_harness.h"

namespace {

TEST(TruncToInt, TowardZeroSaturatingWithNaNAsZero) {
    constexpr double Inf = std::numeric_limits<double>::infinity();
    const double in[] = {-0.9, 2.999, -2.999, 2147483646.9, 2147483647.0, 1e20, Inf, -2147483647.9, -2147483648.5,
                         -Inf, std::numeric_limits<double>::quiet_NaN()};
    const int32_t out[] = {0, 2, -2, 2147483646, INT32_MAX, INT32_MAX, INT32_MAX, -2147483647, INT32_MIN, INT32_MIN, 0};
    for (int k = 0; k < 11; ++k) EXPECT_EQ(TruncToInt(in[k]), out[k]) << in[k];
    // The pair conversion agrees with it on every value, either side of a pair.
    for (int k = 0; k < 11; ++k) {
        int32_t a = 7, b = 7;
        TruncPairToInt(in[k], in[10 - k], a, b);
        EXPECT_EQ(a, out[k]) << in[k];
        EXPECT_EQ(b, out[10 - k]) << in[10 - k];
    }
    EXPECT_EQ(TruncToAngle(-1.5), 65535);  // angles wrap modulo 65536
    EXPECT_EQ(TruncToAngle(65536.0 + 600.7), 600);
}

#ifdef TESSALINE_SANITIZE
// A double that does not fit, converted without the helper, stops the
// sanitizer build: that is what keeps every conversion going through it.
TEST(TruncToIntDeathTest, TheSanitizerBuildStopsARawConversionOutOfRange) {
    volatile double wild = 1e20;
    EXPECT_DEATH(
        {
            volatile int32_t raw = static_cast<int32_t>(wild);
            (void)raw;
        },
        "outside the range of representable values");
    EXPECT_EQ(TruncToInt(wild), INT32_MAX);
}
#endif

FileBytes Table(const std::vector<double>& values) {
    FileBytes f;
    for (double v : values) f.Put(v);
    return f;
}

// A short file replaces only the bytes it has; a long one only the 512 entries.
TEST(SineTable, ReadsLittleEndianDoublesFromShortAndLongFiles) {
    ScratchFolder folder("tessaline-sine");
    std::vector<double> values(520);
    for (int i = 0; i < 520; ++i) values[i] = i * 0.5 - 100.0;
    Table(values).Write("file\\SinTable.file");
    EXPECT_TRUE(LoadSineTable());
    EXPECT_EQ(SinTable[0], -100.0);
    EXPECT_EQ(SinTable[511], 155.5);

    for (double& v : SinTable) v = 7.0;
    Table({0.25, -0.75, 0.1}).Cut(20).Write("file\\SinTable.file");
    EXPECT_TRUE(LoadSineTable());
    EXPECT_EQ(std::vector<double>(SinTable, SinTable + 4),
              (std::vector<double>{0.25, -0.75, std::bit_cast<double>(0x401C00009999999Aull), 7.0}));  // 0.1 over 7.0
    EXPECT_EQ(SinTable[511], 7.0);
}

TEST(SineTable, MissingFileGivesOneMessageOwnedByTheWindowAndNoSecondAttempt) {
    ScratchFolder folder("tessaline-nosine");
    int window = 0;
    mainWindow = reinterpret_cast<platform::Window*>(&window);
    EnsureSineTable();
    Table(std::vector<double>(512, 1.0)).Write("file\\SinTable.file");  // too late: no second look
    EnsureSineTable();
    mainWindow = nullptr;
    EXPECT_EQ(sineTableLoaded, 1);
    EXPECT_EQ(MessageBoxes(), std::vector<std::string>{"ERROR|ファイルをオープン出来ません"});
    ASSERT_EQ(platform::headless::Events().size(), 1u);
    EXPECT_TRUE(platform::headless::Events()[0].owned);
    EXPECT_EQ(std::vector<double>(SinTable, SinTable + 512), std::vector<double>(512, 0.0));
}

// A turn's angles are reduced to the table's 512 steps as they are used.
// (The turns themselves and the game's half turn of AngleFromDelta are
// pinned by the frame hashes.)
TEST(RotatePoints, ReducesTheAnglesItIsGiven) {
    uint16_t angles[3] = {600, 65535, 512};
    RotatePoints(angles, nullptr, 0);
    EXPECT_EQ(std::vector<int>(angles, angles + 3), (std::vector<int>{88, 511, 0}));
}

}  // namespace

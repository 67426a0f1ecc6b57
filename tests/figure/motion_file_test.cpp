#include "figure/motion_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "combat/fighter.h"
#include "combat/playback.h"
#include "figure_setup.h"
#include "platform/headless.h"
#include "support/game_harness.h"

namespace {

// A .deg file: entry count, flags and duration; the unused words are set
// so that a loader reading them would show it. Entry k holds angles
// 65535 - k, k + 100, k + 200 and position (k + 0.5, -k, 1000 k).
FileBytes Deg(uint16_t entryCount, int written, uint16_t duration = 40) {
    FileBytes f = FileBytes().Put(entryCount, 2).Put(0xAAAA, 2).Put(Loop | End, 4).Put(0xBBBB, 2).Put(duration, 2);
    for (int k = 0; k < written; ++k) {
        f.Put(65535 - k, 2).Put(k + 100, 2).Put(k + 200, 2).Put(0xCCCC, 2).Put(k + 0.5).Put(-k + 0.0).Put(k * 1000.0);
    }
    return f;
}

std::vector<std::string> Missing(size_t n) { return std::vector<std::string>(n, "ERROR|ファイルをオープン出来ません"); }

struct MotionFiles : ::testing::Test {
    ScratchFolder folder{"tessaline-motions"};
    void SetUp() override { motionsLoaded = 0; }
    void TearDown() override {
        for (Fighter& f : fighters) FreeMotionTable(f);
    }
    static MotionKey Load(const FileBytes& file) {
        file.Write("key.deg");
        MotionKey key;
        EXPECT_TRUE(LoadMotionKey("key.deg", key, 3));
        return key;
    }
};

// A figure takes fifteen entries; what the file lacks or does not count is zero.
TEST_F(MotionFiles, FifteenEntriesAsTheyStandAndZeroForWhatIsMissingOrUncounted) {
    const MotionKey key = Load(Deg(15, 15));
    EXPECT_EQ(std::tuple(key.keyFlags, key.duration, key.keyCount), std::tuple(Loop | End, 40, 3));
    for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(key.workAngles[0][k], 65535.0 - k);  // zero-extended, not negative
        EXPECT_EQ(key.workAngles[2][k], 200.0 + k);
        EXPECT_EQ(Xyz(key.workPositions[k]), Xyz(key.storedPositions[k]));
        EXPECT_EQ(Xyz(key.workPositions[k]), (std::vector<double>{k + 0.5, -k + 0.0, k * 1000.0}));
    }
    const MotionKey cut = Load(Deg(15, 4).Cut(12 + 3 * 32 + 8));  // the fourth entry's angles only
    EXPECT_EQ(cut.workPositions[2].z, 2000.0);
    EXPECT_EQ(cut.workAngles[2][3], 203.0);
    EXPECT_EQ(cut.workPositions[3].x, 0.0);
    EXPECT_EQ(cut.workAngles[0][4], 0.0);
    const MotionKey more = Load(Deg(17, 17));
    EXPECT_EQ(more.workPositions[14].x, 14.5);
    const MotionKey fewer = Load(Deg(2, 15));
    EXPECT_EQ(fewer.workAngles[0][1], 65534.0);
    EXPECT_EQ(fewer.workAngles[0][2], 0.0);
    EXPECT_EQ(fewer.workPositions[14].x, 0.0);
    EXPECT_EQ(MessageBoxes(), Missing(0));
}

// Each fighter gets its own copy of every motion; a missing key is reported
// (once per fighter) and left empty; the second call reads nothing.
TEST_F(MotionFiles, EveryMotionOnceForEachFighterAndAMissingKeyReported) {
    MotionKey key;
    key.duration = 9;
    EXPECT_FALSE(LoadMotionKey("Motion\\Nothing\\Motion0.deg", key, 2));
    EXPECT_EQ(key.duration, 0);
    EXPECT_EQ(key.keyCount, 2);

    for (int m = 0; m < MotionCount; ++m) {
        for (int k = 0; k < motionFiles[m].keys; ++k) {
            char name[64];
            std::snprintf(name, sizeof name, motionFiles[m].pattern, k);
            Deg(15, 0, static_cast<uint16_t>(100 * m + k)).Write(name);
        }
    }
    std::filesystem::remove("Motion/RightBigDamage/Motion1.deg");
    ASSERT_TRUE(LoadAllMotions());
    EXPECT_EQ(MessageBoxes(), Missing(3));  // the one above and one for each fighter
    for (const Fighter& f : fighters) {
        for (int m = 0; m < MotionCount; ++m) {
            ASSERT_NE(f.motions[m], nullptr);
            for (int k = 0; k < motionFiles[m].keys; ++k) {
                EXPECT_EQ(f.motions[m][k].duration, m == RightBigDamage && k == 1 ? 0 : 100 * m + k);
                EXPECT_EQ(f.motions[m][k].keyCount, motionFiles[m].keys);
            }
        }
    }
    fighter1.motions[Slay][0].workAngles[0][0] = 77.0;
    EXPECT_EQ(fighter2.motions[Slay][0].workAngles[0][0], 0.0);

    MotionKey* before = fighter2.motions[Way];
    std::filesystem::remove("Motion/Way/Motion0.deg");
    EXPECT_TRUE(LoadAllMotions());
    EXPECT_EQ(fighter2.motions[Way], before);
    EXPECT_EQ(MessageBoxes().size(), 3u);
    FreeMotionTable(fighter1);
    for (MotionKey* keys : fighter1.motions) EXPECT_EQ(keys, nullptr);
}

}  // namespace

// The key-pose loader on files made here: whole, short, odd and missing
// files, and the loading of every motion for both fighters.
#include "figure/motion_file.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "combat/fighter.h"
#include "combat/playback.h"
#include "figure_setup.h"
#include "platform/headless.h"
#include "support/game_harness.h"

namespace {

// A .deg file: entry count, flags and duration; the unused words are set
// so that a loader reading them would show it.
FileBytes Deg(uint16_t entryCount, uint32_t flags, uint16_t duration) {
    return FileBytes().Put(entryCount, 2).Put(0xAAAA, 2).Put(flags, 4).Put(0xBBBB, 2).Put(duration, 2);
}

// Entry k holds angles 65535 - k, k + 100, k + 200 and position
// (k + 0.5, -k, 1000 k), and an unused word.
FileBytes Entries(uint16_t count, int written) {
    FileBytes f = Deg(count, Loop | End, 40);
    for (int k = 0; k < written; ++k) {
        f.Put(65535 - k, 2).Put(k + 100, 2).Put(k + 200, 2).Put(0xCCCC, 2).Put(k + 0.5).Put(-k + 0.0).Put(k * 1000.0);
    }
    return f;
}

// Every key of every motion, each with duration 100 x motion + key.
void WriteAllMotions() {
    for (int m = 0; m < MotionCount; ++m) {
        for (int k = 0; k < motionFiles[m].keys; ++k) {
            char name[64];
            std::snprintf(name, sizeof name, motionFiles[m].pattern, k);
            Deg(15, 0, static_cast<uint16_t>(100 * m + k)).Write(name);
        }
    }
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

TEST_F(MotionFiles, AWholeFileLoadsFifteenEntriesAsTheyStand) {
    const MotionKey key = Load(Entries(15, 15));
    EXPECT_EQ(key.keyFlags, Loop | End);
    EXPECT_EQ(key.duration, 40);
    EXPECT_EQ(key.keyCount, 3);
    EXPECT_EQ(MessageBoxes(), Missing(0));
    for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(key.workAngles[0][k], 65535.0 - k);  // zero-extended, not negative
        EXPECT_EQ(key.workAngles[2][k], 200.0 + k);
        EXPECT_EQ(Xyz(key.workPositions[k]), Xyz(key.storedPositions[k]));
        EXPECT_EQ(Xyz(key.workPositions[k]), (std::vector<double>{k + 0.5, -k + 0.0, k * 1000.0}));
    }
}

// Short files, and counts other than fifteen: a figure takes fifteen
// entries, and what the file lacks or does not count is zero.
TEST_F(MotionFiles, WhatAFileLacksOrDoesNotCountIsZero) {
    // Three whole entries and the angles of the fourth.
    const MotionKey cut = Load(Entries(15, 4).Cut(12 + 3 * 32 + 8));
    EXPECT_EQ(cut.workPositions[2].z, 2000.0);
    EXPECT_EQ(cut.workAngles[2][3], 203.0);
    EXPECT_EQ(cut.workPositions[3].x, 0.0);
    EXPECT_EQ(cut.workAngles[0][4], 0.0);
    EXPECT_EQ(cut.keyFlags, Loop | End);

    const MotionKey cutHeader = Load(Deg(15, 0x0103, 30).Cut(5));  // after the flags' first byte
    EXPECT_EQ(cutHeader.keyFlags, 0x03u);
    EXPECT_EQ(cutHeader.duration, 0);
    const MotionKey empty = Load({});
    EXPECT_EQ(empty.duration, 0);
    EXPECT_EQ(empty.keyCount, 3);

    const MotionKey more = Load(Entries(17, 17));
    EXPECT_EQ(more.workAngles[0][14], 65521.0);
    EXPECT_EQ(more.workPositions[14].x, 14.5);
    const MotionKey fewer = Load(Entries(2, 15));  // two counted, fifteen written
    EXPECT_EQ(fewer.workAngles[0][1], 65534.0);
    EXPECT_EQ(fewer.workAngles[0][2], 0.0);
    EXPECT_EQ(fewer.workPositions[14].x, 0.0);
    EXPECT_EQ(MessageBoxes(), Missing(0));
}

TEST_F(MotionFiles, AMissingFileIsReportedAndLeavesAnEmptyKey) {
    MotionKey key;
    key.duration = 9;
    EXPECT_FALSE(LoadMotionKey("Motion\\Nothing\\Motion0.deg", key, 2));
    EXPECT_EQ(MessageBoxes(), Missing(1));
    EXPECT_EQ(key.duration, 0);
    EXPECT_EQ(key.keyCount, 2);

    // Among all the motions, a missing file is reported for each fighter.
    WriteAllMotions();
    std::filesystem::remove("Motion/RightBigDamage/Motion1.deg");
    LoadAllMotions();
    EXPECT_EQ(MessageBoxes(), Missing(3));  // the one above and one for each fighter
    EXPECT_EQ(fighter1.motions[RightBigDamage][0].duration, 2000);
    EXPECT_EQ(fighter2.motions[RightBigDamage][1].duration, 0);
    EXPECT_EQ(fighter2.motions[RightBigDamage][1].keyCount, 2);
}

TEST_F(MotionFiles, EveryMotionIsLoadedOnceForEachFighterInItsOwnCopy) {
    WriteAllMotions();
    ASSERT_TRUE(LoadAllMotions());
    EXPECT_EQ(MessageBoxes(), Missing(0));
    for (const Fighter& f : fighters) {
        for (int m = 0; m < MotionCount; ++m) {
            ASSERT_NE(f.motions[m], nullptr);
            for (int k = 0; k < motionFiles[m].keys; ++k) {
                EXPECT_EQ(f.motions[m][k].duration, 100 * m + k);
                EXPECT_EQ(f.motions[m][k].keyCount, motionFiles[m].keys);
            }
        }
    }
    fighter1.motions[Slay][0].workAngles[0][0] = 77.0;
    EXPECT_EQ(fighter2.motions[Slay][0].workAngles[0][0], 0.0);

    // The second call reads nothing: a file gone now is not missed.
    MotionKey* before = fighter2.motions[Way];
    std::filesystem::remove("Motion/Way/Motion0.deg");
    EXPECT_TRUE(LoadAllMotions());
    EXPECT_EQ(fighter2.motions[Way], before);
    EXPECT_EQ(MessageBoxes(), Missing(0));
    FreeMotionTable(fighter1);
    for (MotionKey* keys : fighter1.motions) EXPECT_EQ(keys, nullptr);
}

}  // namespace

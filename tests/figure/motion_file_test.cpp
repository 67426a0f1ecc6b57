// The key-pose loader on files made here: exact, short, odd and missing
// files, and the loading of every motion for both fighters.
#include "figure/motion_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "combat/fighter.h"
#include "combat/playback.h"
#include "platform/headless.h"

namespace fs = std::filesystem;

namespace {

// A .deg file's bytes, little-endian.
class DegBytes {
public:
    DegBytes(uint16_t entryCount, uint32_t flags, uint16_t duration) {
        U16(entryCount);
        U16(0xAAAA);  // unused header words are ignored
        U32(flags);
        U16(0xBBBB);
        U16(duration);
    }
    DegBytes& Entry(uint16_t a0, uint16_t a1, uint16_t a2, double x, double y, double z) {
        U16(a0);
        U16(a1);
        U16(a2);
        U16(0);
        for (double v : {x, y, z}) U64(std::bit_cast<uint64_t>(v));
        return *this;
    }
    DegBytes& Cut(size_t size) {
        bytes.resize(size);
        return *this;
    }
    std::vector<uint8_t> bytes;

private:
    void U16(uint16_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void U64(uint64_t v) {
        U32(static_cast<uint32_t>(v));
        U32(static_cast<uint32_t>(v >> 32));
    }
};

DegBytes Entries(uint16_t n, int written) {
    DegBytes d(n, Loop, 30);
    for (int k = 0; k < written; ++k) d.Entry(k + 1, k + 100, k + 200, k + 0.5, -k - 0.25, k * 1000.0);
    return d;
}

class MotionFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("tessaline-motions-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        previous = fs::current_path();
        fs::current_path(folder);
        platform::headless::ClearEvents();
        motionsLoaded = 0;
    }
    void TearDown() override {
        for (Fighter& f : fighters) FreeMotionTable(f);
        fs::current_path(previous);
        fs::remove_all(folder);
    }
    // Writes a file by the game's name, backslashes as folders.
    static void Write(std::string name, const std::vector<uint8_t>& bytes) {
        for (char& c : name) {
            if (c == '\\') c = '/';
        }
        fs::create_directories(fs::path(name).parent_path().empty() ? "." : fs::path(name).parent_path());
        std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    static MotionKey Load(const std::vector<uint8_t>& bytes) {
        Write("key.deg", bytes);
        MotionKey key;
        EXPECT_TRUE(LoadMotionKey("key.deg", key, 3));
        return key;
    }
    static int MessageBoxes() {
        int n = 0;
        for (const auto& e : platform::headless::Events()) {
            if (e.kind != platform::headless::EventKind::MessageBox) continue;
            EXPECT_EQ(e.caption, "ERROR");
            EXPECT_EQ(e.text, "ファイルをオープン出来ません");
            ++n;
        }
        return n;
    }
    // Every key of every motion, each with duration 100 x motion + key.
    static void WriteAllMotions() {
        for (int m = 0; m < MotionCount; ++m) {
            for (int k = 0; k < motionFiles[m].keys; ++k) {
                char name[64];
                std::snprintf(name, sizeof name, motionFiles[m].pattern, k);
                Write(name, DegBytes(15, 0, static_cast<uint16_t>(100 * m + k)).bytes);
            }
        }
    }
    fs::path folder, previous;
};

TEST_F(MotionFiles, AWholeFileLoadsFifteenEntriesAsTheyStand) {
    DegBytes d(15, Loop | End, 40);
    for (int k = 0; k < 15; ++k) d.Entry(65535, k, 511, -12.5 * k, 256.0, 1e-3);
    ASSERT_EQ(d.bytes.size(), 492u);
    const MotionKey key = Load(d.bytes);
    EXPECT_EQ(key.keyFlags, Loop | End);
    EXPECT_EQ(key.duration, 40);
    EXPECT_EQ(key.keyCount, 3);
    for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(key.rawEntries[k].angles[0], 65535);
        EXPECT_EQ(key.workAngles[0][k], 65535.0);  // zero-extended, not -1
        EXPECT_EQ(key.workAngles[1][k], k);
        EXPECT_EQ(key.workAngles[2][k], 511.0);
        EXPECT_EQ(key.workPositions[k].x, -12.5 * k);
        EXPECT_EQ(key.storedPositions[k].x, -12.5 * k);
        EXPECT_EQ(key.workPositions[k].y, 256.0);
        EXPECT_EQ(key.storedPositions[k].z, 1e-3);
    }
    EXPECT_EQ(MessageBoxes(), 0);
}

TEST_F(MotionFiles, WhatAFileLacksIsZero) {
    // Three whole entries and half of the fourth: its angles are there, its
    // positions are not.
    const MotionKey shortKey = Load(Entries(15, 4).Cut(12 + 3 * 32 + 8).bytes);
    EXPECT_EQ(shortKey.workAngles[0][2], 3.0);
    EXPECT_EQ(shortKey.workPositions[2].z, 2000.0);
    EXPECT_EQ(shortKey.workAngles[2][3], 203.0);
    EXPECT_EQ(shortKey.workPositions[3].x, 0.0);
    for (int k = 4; k < 15; ++k) {
        EXPECT_EQ(shortKey.workAngles[0][k], 0.0);
        EXPECT_EQ(shortKey.storedPositions[k].y, 0.0);
    }

    // A header cut after the flags' first byte.
    const MotionKey cutHeader = Load(DegBytes(15, 0x0103, 30).Cut(5).bytes);
    EXPECT_EQ(cutHeader.keyFlags, 0x03u);
    EXPECT_EQ(cutHeader.duration, 0);

    const MotionKey empty = Load({});
    EXPECT_EQ(empty.keyFlags, 0u);
    EXPECT_EQ(empty.duration, 0);
    EXPECT_EQ(empty.keyCount, 3);
    EXPECT_EQ(empty.rawEntries[0].angles[0], 0);
}

TEST_F(MotionFiles, AFigureTakesFifteenEntriesWhateverTheFileCounts) {
    const MotionKey more = Load(Entries(17, 17).bytes);
    EXPECT_EQ(more.workAngles[0][14], 15.0);
    EXPECT_EQ(more.workPositions[14].x, 14.5);

    // Two entries counted: the rest stays zero though the file has more.
    const MotionKey fewer = Load(Entries(2, 15).bytes);
    EXPECT_EQ(fewer.workAngles[0][1], 2.0);
    EXPECT_EQ(fewer.workAngles[0][2], 0.0);
    EXPECT_EQ(fewer.workPositions[14].x, 0.0);
}

TEST_F(MotionFiles, AMissingFileIsReportedAndLeavesAnEmptyKey) {
    MotionKey key;
    key.duration = 9;
    EXPECT_FALSE(LoadMotionKey("Motion\\Nothing\\Motion0.deg", key, 2));
    EXPECT_EQ(MessageBoxes(), 1);
    EXPECT_EQ(key.duration, 0);
    EXPECT_EQ(key.keyCount, 2);
    EXPECT_EQ(key.workAngles[0][0], 0.0);
}

TEST_F(MotionFiles, EveryMotionIsLoadedOnceForEachFighterInItsOwnCopy) {
    WriteAllMotions();
    ASSERT_TRUE(LoadAllMotions());
    EXPECT_EQ(motionsLoaded, 1);
    EXPECT_EQ(MessageBoxes(), 0);
    for (const Fighter& f : fighters) {
        for (int m = 0; m < MotionCount; ++m) {
            ASSERT_NE(f.motions[m], nullptr);
            for (int k = 0; k < motionFiles[m].keys; ++k) {
                EXPECT_EQ(f.motions[m][k].duration, 100 * m + k);
                EXPECT_EQ(f.motions[m][k].keyCount, motionFiles[m].keys);
            }
        }
    }
    EXPECT_EQ(motionFiles[Dance].keys, 4);
    EXPECT_NE(fighter1.motions[Slay], fighter2.motions[Slay]);
    fighter1.motions[Slay][0].workAngles[0][0] = 77.0;
    EXPECT_EQ(fighter2.motions[Slay][0].workAngles[0][0], 0.0);

    // The second call reads nothing: a file gone now is not missed.
    MotionKey* before = fighter2.motions[Way];
    fs::remove("Motion/Way/Motion0.deg");
    EXPECT_TRUE(LoadAllMotions());
    EXPECT_EQ(fighter2.motions[Way], before);
    EXPECT_EQ(MessageBoxes(), 0);

    FreeMotionTable(fighter1);
    for (MotionKey* keys : fighter1.motions) EXPECT_EQ(keys, nullptr);
}

TEST_F(MotionFiles, AMissingFileIsReportedOnceForEachFighter) {
    WriteAllMotions();
    fs::remove("Motion/RightBigDamage/Motion1.deg");
    LoadAllMotions();
    EXPECT_EQ(MessageBoxes(), 2);
    EXPECT_EQ(fighter1.motions[RightBigDamage][0].duration, 2000);
    EXPECT_EQ(fighter1.motions[RightBigDamage][1].duration, 0);
    EXPECT_EQ(fighter2.motions[RightBigDamage][1].keyCount, 2);
}

}  // namespace

// The key-pose files of the 22 motions and their loader. Each fighter gets
// its own copy of every key, because playback changes the keys in place.
#include "figure/motion_file.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "app/shell.h"
#include "combat/fighter.h"
#include "platform/platform.h"

const MotionFile motionFiles[MotionCount] = {
    {"Motion\\Way\\Motion%d.deg", 2},
    {"Motion\\Slay\\Motion%d.deg", 3},
    {"Motion\\Walk\\Motion%d.deg", 2},
    {"Motion\\Dance\\Motion%d.deg", 4},
    {"Motion\\YokoGiri\\Motion%d.deg", 3},
    {"Motion\\TakeUp\\Motion%d.deg", 3},
    {"Motion\\DownSlay\\Motion%d.deg", 3},
    {"Motion\\Jump\\Motion%d.deg", 2},
    {"Motion\\UpGrad\\Motion%d.deg", 2},
    {"Motion\\DownGrad\\Motion%d.deg", 2},
    {"Motion\\UpEasyDamage\\Motion%d.deg", 2},
    {"Motion\\LeftEasyDamage\\Motion%d.deg", 2},
    {"Motion\\RightEasyDamage\\Motion%d.deg", 2},
    {"Motion\\DownEasyDamage\\Motion%d.deg", 2},
    {"Motion\\UpDamage\\Motion%d.deg", 2},
    {"Motion\\LeftDamage\\Motion%d.deg", 2},
    {"Motion\\RightDamage\\Motion%d.deg", 2},
    {"Motion\\DownDamage\\Motion%d.deg", 2},
    {"Motion\\UpBigDamage\\Motion%d.deg", 2},
    {"Motion\\LeftBigDamage\\Motion%d.deg", 2},
    {"Motion\\RightBigDamage\\Motion%d.deg", 2},
    {"Motion\\DownBigDamage\\Motion%d.deg", 2},
};

uint8_t motionsLoaded = 0;

namespace {

// The order the motions are read in: the attacks and moves, then the
// damage motions by direction, each direction from Easy to Big.
constexpr uint16_t LoadOrder[MotionCount] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 18, 12, 16, 20, 11, 15, 19, 13, 17, 21};

constexpr size_t HeaderSize = 12;
constexpr size_t EntrySize = 32;

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

double ReadDouble(const uint8_t* p) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
    return std::bit_cast<double>(bits);
}

RawEntry ParseEntry(const uint8_t* p) {
    RawEntry e;
    e.angles[0] = ReadU16(p);
    e.angles[1] = ReadU16(p + 2);
    e.angles[2] = ReadU16(p + 4);
    e.unused = ReadU16(p + 6);
    e.x = ReadDouble(p + 8);
    e.y = ReadDouble(p + 16);
    e.z = ReadDouble(p + 24);
    return e;
}

}  // namespace

void RestoreKey(MotionKey& key) {
    for (int k = 0; k < PartsPerFigure; ++k) {
        const RawEntry& e = key.rawEntries[k];
        for (int a = 0; a < 3; ++a) key.workAngles[a][k] = static_cast<double>(e.angles[a]);
        key.workPositions[k] = {e.x, e.y, e.z};
    }
}

// A key whose file is missing or cut short keeps zeros where the file has
// nothing: the figure then simply takes a zero pose for that key.
bool LoadMotionKey(const char* path, MotionKey& key, uint16_t keyCount) {
    key = MotionKey{};
    key.keyCount = keyCount;
    std::FILE* file = platform::OpenDataFile(path);
    if (!file) {
        platform::MessageBox(mainWindow, "ファイルをオープン出来ません", "ERROR");
        return false;
    }
    uint8_t header[HeaderSize] = {};
    const size_t headerRead = std::fread(header, 1, HeaderSize, file);
    const uint16_t entryCount = headerRead >= 2 ? ReadU16(header) : 0;
    key.keyFlags = ReadU32(header + 4);
    key.duration = ReadU16(header + 10);

    // A figure has fifteen parts: entries beyond them are not read, and
    // parts the file lacks stay zero.
    const size_t wanted = entryCount < PartsPerFigure ? entryCount : PartsPerFigure;
    uint8_t entries[PartsPerFigure * EntrySize] = {};
    std::fread(entries, 1, wanted * EntrySize, file);
    for (int k = 0; k < PartsPerFigure; ++k) key.rawEntries[k] = ParseEntry(entries + k * EntrySize);
    for (int k = 0; k < PartsPerFigure; ++k) {
        const RawEntry& e = key.rawEntries[k];
        key.storedPositions[k] = {e.x, e.y, e.z};
    }
    RestoreKey(key);
    std::fclose(file);
    return true;
}

bool LoadAllMotions() {
    if (motionsLoaded != 0) return true;
    for (Fighter& fighter : fighters) {
        for (uint16_t motion : LoadOrder) {
            const MotionFile& m = motionFiles[motion];
            MotionKey* keys = new MotionKey[m.keys]();
            fighter.motions[motion] = keys;
            for (int k = 0; k < m.keys; ++k) {
                char name[64];
                std::snprintf(name, sizeof name, m.pattern, k);
                LoadMotionKey(name, keys[k], static_cast<uint16_t>(m.keys));
            }
        }
    }
    motionsLoaded = 1;
    return true;
}

void FreeMotionTable(Fighter& fighter) {
    for (MotionKey*& keys : fighter.motions) {
        delete[] keys;
        keys = nullptr;
    }
}

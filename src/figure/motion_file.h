// The key-pose files of the 22 motions and their loader.
#pragma once

#include <cstdint>

#include "figure/math.h"
#include "figure/model.h"

struct Fighter;

constexpr int MotionCount = 22;

// Key flags.
constexpr uint32_t Loop = 0x1;
constexpr uint32_t End = 0x2;

// One part entry as the file holds it.
struct RawEntry {
    uint16_t angles[3];
    uint16_t unused;
    double x, y, z;
};

struct MotionKey {
    RawEntry rawEntries[PartsPerFigure];
    uint32_t keyFlags;
    uint16_t duration;
    Vec3 workPositions[PartsPerFigure];
    double workAngles[3][PartsPerFigure];
    Vec3 storedPositions[PartsPerFigure];
    uint16_t keyCount;
};

struct MotionFile {
    const char* pattern;   // with %d for the key number
    int keys;
};
// Indexed by motion number.
extern const MotionFile motionFiles[MotionCount];

extern uint8_t motionsLoaded;

bool LoadAllMotions();
bool LoadMotionKey(const char* path, MotionKey& key, uint16_t keyCount);
void FreeMotionTable(Fighter& fighter);
// Puts a key's working arrays back to its file values.
void RestoreKey(MotionKey& key);

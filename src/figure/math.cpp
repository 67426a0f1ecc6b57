// Angles, the sine table and the point-array routines.
#include "figure/math.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/shell.h"
#include "platform/platform.h"

double SinTable[512] = {};
uint8_t sineTableLoaded = 0;

namespace {

constexpr int TableBytes = 512 * 8;

// 256 / 3.14: the game's own half turn, a little more than 256 units.
constexpr double AngleUnitsPerRadian = 81.52866242038216;

}  // namespace

// The file holds the table as little-endian doubles. The table's current
// contents are laid out as bytes first, so that a short file replaces only
// the bytes it has and the rest of the table stays as it was.
bool LoadSineTable() {
    std::FILE* file = platform::OpenDataFile("file\\SinTable.file");
    if (file == nullptr) {
        platform::MessageBox(mainWindow, "ファイルをオープン出来ません", "ERROR");
        return false;
    }
    unsigned char bytes[TableBytes];
    for (int i = 0; i < 512; ++i) {
        uint64_t bits;
        std::memcpy(&bits, &SinTable[i], sizeof bits);
        for (int b = 0; b < 8; ++b) bytes[i * 8 + b] = static_cast<unsigned char>(bits >> (8 * b));
    }
    std::fread(bytes, 1, TableBytes, file);
    std::fclose(file);
    for (int i = 0; i < 512; ++i) {
        uint64_t bits = 0;
        for (int b = 0; b < 8; ++b) bits |= static_cast<uint64_t>(bytes[i * 8 + b]) << (8 * b);
        std::memcpy(&SinTable[i], &bits, sizeof bits);
    }
    return true;
}

// One attempt per run: without the file the game goes on with a zero table.
void EnsureSineTable() {
    if (sineTableLoaded != 0) return;
    LoadSineTable();
    sineTableLoaded = 1;
}

bool RotatePoints(uint16_t angles[3], Vec3* points, int count) {
    for (int k = 0; k < 3; ++k) angles[k] = static_cast<uint16_t>(angles[k] & 511);
    const double sz = Sine(angles[0]), cz = Cosine(angles[0]);
    const double sx = Sine(angles[1]), cx = Cosine(angles[1]);
    const double sy = Sine(angles[2]), cy = Cosine(angles[2]);
    // Each point goes through the three turns on its own, so one loop gives
    // the same values as three passes over the array.
    for (int i = 0; i < count; ++i) {
        Vec3& p = points[i];
        double x = cz * p.x - sz * p.y;
        double y = sz * p.x + cz * p.y;
        double z = p.z;
        const double y2 = cx * y - sx * z;
        z = sx * y + cx * z;
        y = y2;
        const double z2 = cy * z - sy * x;
        x = cy * x + sy * z;
        p = {x, y, z2};
    }
    return true;
}

bool TranslatePoints(Vec3* points, const Vec3& delta, int count) {
    for (int i = 0; i < count; ++i) {
        points[i].x += delta.x;
        points[i].y += delta.y;
        points[i].z += delta.z;
    }
    return true;
}

double AngleFromDelta(const Vec3& a, const Vec3& b) {
    return std::atan2(a.x - b.x, a.z - b.z) * AngleUnitsPerRadian;
}

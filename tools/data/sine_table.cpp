// "file\SinTable.file": sin(2 pi i / 512) for i = 0 .. 511, little-endian.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

#include "data/writers.h"

bool WriteSineTable(const DataPaths& paths) {
    unsigned char bytes[512 * 8];
    for (int i = 0; i < 512; ++i) {
        const double value = std::sin(2.0 * std::numbers::pi * i / 512.0);
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int b = 0; b < 8; ++b) bytes[i * 8 + b] = static_cast<unsigned char>(bits >> (8 * b));
    }
    return WriteDataFile(paths, "file/SinTable.file", bytes, sizeof bytes);
}

// Still frames of the two figures in their build pose, one per draw mode
// and shade mode, plus outlines on, shadows off and a camera turned a
// quarter turn: to look at, and hashed so that any change of a pixel is
// noticed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StillHash {
    std::string name;  // the PNG's name without ".png"
    uint64_t hash;
};

// Renders every still with the game's data in dataDir and writes them into
// outDir as PNG files (still-draw1-shade1.png and so on). 0 on success, 1
// when the data or an output file could not be used.
int RenderStills(const char* dataDir, const char* outDir);
// The same stills, hashed instead of written; empty when the data cannot
// be read.
std::vector<StillHash> HashStills(const char* dataDir);
// FNV-1a, 64 bits, over each pixel word's bytes, low byte first.
uint64_t HashPixels(const uint32_t* pixels, int width, int height, int pitch);

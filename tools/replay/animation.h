// A stretch of a replay as one animated PNG, for the README: the first
// frame whole, each later one only as the rectangle that changed since the
// frame before, so a few seconds of a fight stay small. Any viewer that
// knows no animation shows the first frame.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct Animation {
    std::FILE* file = nullptr;
    std::string path;
    int width = 0, height = 0;
    int framesLeft = 0;
    int perSecond = 0;
    uint32_t sequence = 0;  // numbers the frame controls and frame data in file order
    std::vector<uint32_t> last;  // the frame before, to find what changed
    bool ok = true;
};

// Opens the file for `frames` frames of width x height, shown `perSecond`
// a second and looped. False when it cannot be written.
bool StartAnimation(Animation& a, const std::string& path, int width, int height, int frames, int perSecond);
// The next frame: width x height pixels, rows packed.
void AddAnimationFrame(Animation& a, const uint32_t* pixels);
// Closes the file; false (and the file removed) when a write failed or
// fewer frames came than were announced.
bool FinishAnimation(Animation& a);

// The triangle and span fillers. They write into a 320 x 240 buffer of
// 32-bit pixels with the given row length, and accept any coordinates.
#pragma once

#include <cstdint>

struct ScreenTriangle {
    int32_t x0, y0, x1, y1, x2, y2;
};

constexpr int LastColumn = 319;
constexpr int LastRow = 239;
constexpr int ScreenWidth = 320;
constexpr int ScreenHeight = 240;

int FillTriangle(uint32_t* pixels, int32_t pitch, const ScreenTriangle& triangle, uint32_t colour);
int FillGouraudTriangle(uint32_t* pixels, int32_t pitch, const double intensities[3], const ScreenTriangle& triangle,
                        uint32_t colour);
void FillSpan(uint32_t* rowStart, int32_t xa, int32_t xb, uint32_t colour);
void FillGouraudSpan(uint32_t* rowStart, int32_t xa, int32_t xb, double ia, double ib, uint32_t colour);

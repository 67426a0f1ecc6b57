// Surfaces in memory, the game's bitmaps and the 2D operations the scenes
// lay over the rendered figures. Every operation given a null surface does
// nothing.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Where a surface's memory is asked for; the memory itself is the
// presenter's.
enum class MemoryKind : uint32_t {
    System = 0x800,   // locked for direct pixel access
    Video = 0x4000,
};

struct Surface {
    int width;
    int height;
    int pitch;              // row length in pixels
    uint32_t* pixels;       // 0x00RRGGBB
    uint32_t colourKey;     // source colour key: pixels equal to it are skipped
    MemoryKind memory;
    bool attached;          // the full-screen back buffer, released with the primary
    int lockCount;
};

// What a lock hands out.
struct SurfaceDesc {
    uint32_t* surface;      // first pixel
    int pitchBytes;
};

// Fast-copy flags of BlitClipped.
constexpr uint32_t BLTFAST_NOCOLORKEY = 0;
constexpr uint32_t BLTFAST_SRCCOLORKEY = 1;

extern Surface* fontSurface;
extern Surface* battleSurface;
extern Surface* statesSurface;
extern Surface* titleSurface;
extern Surface* stageBackSurface;
extern Surface* workSurface;
extern Surface* polygonPalSurface;

// The frame target: the locked back buffer as the rasterizer sees it.
extern SurfaceDesc lockDesc;
extern uint32_t* frameBits;
extern int32_t framePitch;

void LoadImages();
Surface* LoadBitmapSurface(platform::Window* window, const char* fileName, MemoryKind memory);
Surface* CreateWorkSurface(platform::Window* window, int width, int height, MemoryKind memory);
// Frees the surface's memory (an attached back buffer keeps it: it goes
// with the primary).
void ReleaseSurface(Surface* surface);

void BlitClipped(Surface* dest, int x, int y, int width, int height, Surface* source, int sourceX, int sourceY,
                 uint32_t flags);
void FillSurface(Surface* surface, uint32_t pixel);
// A colour fill of left, top, right, bottom (right and bottom exclusive),
// kept inside the surface.
void FillRectangle(Surface* surface, int left, int top, int right, int bottom, uint32_t pixel);
void DrawString(Surface* dest, int x, int y, const char* text);
void DrawFrameRate(Surface* dest, int x, int y);
// The frame-rate figure as last drawn: frames counted over the last second.
extern char rateText[256];
// The count behind it: the clock at the start of the second being counted
// (taken on the first call) and the frames drawn in it so far.
extern uint32_t lastRateTime;
extern bool rateTimeTaken;
extern int32_t framesCounted;
void DrawScaled(Surface* dest, int x, int y, Surface* source, float xScale, float yScale, int left, int top, int right,
                int bottom);
void DrawScaledCentred(Surface* dest, int cx, int cy, Surface* source, float xScale, float yScale, int left, int top,
                       int right, int bottom);
void LockSurface(Surface* surface, SurfaceDesc* desc);
void UnlockSurface(Surface* surface);
void BlendSurface(Surface* dest, int x, int y, int endX, int endY, Surface* source, int startX, int startY,
                  uint8_t weight);
// The cross-fade of the knock-out, winner and intro scenes: the whole live
// picture blended into the kept one at `weight`, the result then shown
// from the back buffer. The same as BlendSurface(kept, 0, 0, 320, 240, back,
// 0, 0, weight) followed by a full-screen copy of kept onto back, row by
// row in one pass.
void BlendAndCopyBack(Surface* kept, Surface* back, uint8_t weight);

// The frame target protocol around the figure passes.
void LockFrameTarget();
void UnlockFrameTarget();

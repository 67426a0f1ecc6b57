// The frame target: the locked back buffer's pixels as the rasterizer
// writes them. Kept apart from the 2D operations so the rasterizer needs
// nothing else of the display.
#include "display/surface.h"

SurfaceDesc lockDesc = {};
uint32_t* frameBits = nullptr;
int32_t framePitch = 0;

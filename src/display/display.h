// The display: the presenter, the visible surface and the 320 x 240 back
// buffer, in a window or full screen, the present step and the F5 switch.
#pragma once

#include <cstdint>

#include "display/surface.h"
#include "platform/platform.h"

constexpr uint8_t DisplayWindowed = 1;
constexpr uint8_t DisplayFullScreen = 2;

extern uint8_t displayMode;
extern bool directDraw;           // the presenter exists
extern Surface* primarySurface;
extern Surface* backBuffer;
extern bool clipper;              // the clipper exists
extern void (*present)();

void InitDisplay();
void InitFullScreen(platform::Window* window, int width, int height, int bitsPerPixel);
void InitWindowed(platform::Window* window, int width, int height, int bitsPerPixel);
void ToggleDisplayMode(platform::Window* window);
void ReleaseDisplay(platform::Window* window);
void PresentWindowed();
void PresentFullScreen();

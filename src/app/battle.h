// The battle scene and its overlay.
#pragma once

#include <cstdint>

#include "display/surface.h"

extern int32_t introState;
extern uint8_t introAlpha;
extern float introScale;

void BattleScene();
void DrawHealthBar(Surface* surface, int32_t x, int32_t y, int32_t width, int32_t height, int32_t value,
                   int32_t maximum);

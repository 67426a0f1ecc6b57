// The battle scene and its overlay.
#pragma once

#include <cstdint>

#include "display/surface.h"

extern int32_t introState;
extern uint8_t introAlpha;
extern float introScale;

// A banner's place in the battle image: left, top, right, bottom.
struct BannerRegion {
    int left, top, right, bottom;
};
constexpr BannerRegion ReadyBanner = {0, 0, 85, 25};
constexpr BannerRegion FightBanner = {96, 0, 176, 25};
constexpr BannerRegion KnockOutBanner = {0, 35, 40, 60};
constexpr BannerRegion RingOutBanner = {0, 65, 110, 100};
constexpr BannerRegion WinnerBanner = {0, 135, 96, 170};

// Draws a banner centred on dest at the given zoom.
void DrawBanner(Surface* dest, const BannerRegion& r, float scale);

void BattleScene();
void DrawHealthBar(Surface* surface, int32_t x, int32_t y, int32_t width, int32_t height, int32_t value,
                   int32_t maximum);

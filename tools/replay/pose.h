// The replay tool's pose viewer: fighter 1 alone in one key pose of a
// motion, or playing a whole motion, drawn by the game's own pipeline.
#pragma once

#include <cstdint>
#include <vector>

// motionAndKey "Slay:1" writes Slay-1-front.png (the figure facing the eye)
// and Slay-1-side.png (turned as fighter 1 stands in a fight, its first
// side to the eye) into outDir. A motion name alone ("Slay") plays that
// motion from the guard with the game's playback, fighter 2 standing in
// its guard at blade range, and writes Slay-play.png, every second frame
// of the first 64 as a sheet, with the state of each frame on stdout.
// Returns 0, or 2 (after saying why) for a bad argument or missing data.
int RenderPose(const char* dataDir, const char* motionAndKey, const char* outDir);

// The scene of the game's icon: the two fighters face to face at blade
// range, fighter 1 with its blade raised over its head (the first key of
// Slay), fighter 2 in its guard, seen from close in front. Draws the
// 320 x 240 frame into pixels; false (after saying why) without the data.
bool DrawDuel(const char* dataDir, std::vector<uint32_t>& pixels);

// The game's icon for the desktop menus: a square of the duel scene (the
// two fighters face to face, drawn by the game's own pipeline), scaled to
// the size a menu asks for.
#pragma once

#include <cstdint>
#include <vector>

// Writes the icon as a size x size PNG file. 0 on success, 2 (after saying
// why) for a size out of range, missing data or a file that cannot be
// written.
int RenderIcon(const char* dataDir, int size, const char* path);

// The side x side square at (left, top) of a picture with rows `pitch`
// pixels apart, scaled to size x size: each pixel of the result is the
// mean, channel by channel, of the block of source pixels it covers (a box
// filter); a block is at least one pixel, so a square scaled up repeats
// pixels (nearest neighbour).
std::vector<uint32_t> ScaleSquare(const uint32_t* pixels, int pitch, int left, int top, int side, int size);

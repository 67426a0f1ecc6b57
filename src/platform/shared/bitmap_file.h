// The game's own BMP reader, shared by both backends: the pictures the data
// maker writes and every older kind a player's replacement picture might
// be in, without a media library behind it.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Decodes a whole BMP file into 0x00RRGGBB pixels, rows top first. False,
// with the three outputs untouched, for a file it cannot take; a header
// claiming a picture no surface could hold, or more than the file can
// describe, is refused before anything is made.
bool DecodeBitmap(const std::vector<uint8_t>& file, std::vector<uint32_t>& pixels, int& width, int& height);

}  // namespace platform

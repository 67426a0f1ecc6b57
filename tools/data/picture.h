// Pictures the data maker paints and writes as the game's bitmaps:
// 0x00RRGGBB pixels, rows top first. Black is the game's transparent
// colour key, so what should show must never be exactly 0.
#pragma once

#include <cstdint>
#include <vector>

#include "data/glyphs.h"

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
    int left, top, right, bottom;
};

// How a line of text is painted: each glyph pixel becomes a block of
// scaleX x scaleY pixels, thickened by `bold` more pixels to its right,
// `gap` pixels between characters, the ink shaded
// from inkTop at the text's top row to inkBottom at its bottom row, and
// (unless outline is 0) a one-pixel ring of the outline colour around it.
struct TextStyle {
    int scaleX, scaleY, bold, gap;
    uint32_t inkTop, inkBottom, outline;
};

Picture MakePicture(int width, int height);
uint32_t Rgb(int r, int g, int b);
// a + (b - a) * num / den per channel.
uint32_t Mix(uint32_t a, uint32_t b, int num, int den);

void FillRect(Picture& picture, Rect area, uint32_t colour);
// Shaded from `top` on the area's first row to `bottom` on its last.
void FillGradient(Picture& picture, Rect area, uint32_t top, uint32_t bottom);

// The size the text takes with that style, outline included.
int TextWidth(const Font& font, const char* text, const TextStyle& style);
int TextHeight(const Font& font, const char* text, const TextStyle& style);
// Paints the text centred in the area; false, painting nothing, when it
// does not fit there.
bool DrawText(Picture& picture, const Font& font, const char* text, Rect area, const TextStyle& style);

// The picture as an uncompressed 24-bit bottom-up Windows BMP file.
std::vector<uint8_t> EncodeBmp(const Picture& picture);

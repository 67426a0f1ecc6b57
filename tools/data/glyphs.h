// The screen font, read from its readable source (assets/font/font.txt):
// one small bitmap per byte code, placed inside the 8 x 16 cells of
// Image/Font.bmp and drawn scaled up for the banners and the title.
#pragma once

#include <cstdint>
#include <string>

constexpr int CellWidth = 8;
constexpr int CellHeight = 16;
constexpr int GlyphMaxWidth = 7;
constexpr int GlyphMaxHeight = 12;
// What a character without ink (the space) takes in a line of text.
constexpr int BlankAdvance = 3;

struct Glyph {
    uint8_t rows[GlyphMaxHeight] = {};  // bit x set: ink in column x
    int height = 0;
    bool defined = false;
};

struct Font {
    int originX = 0;  // where a glyph's top-left lands inside its cell
    int originY = 0;
    Glyph glyphs[256];
};

// Reads the font source; false, after printing the file and line to
// stderr, on a malformed one.
bool LoadFont(const std::string& path, Font& font);

bool GlyphInk(const Glyph& glyph, int x, int y);
// The first column that holds ink and the number of columns from there to
// the last one; a glyph without ink has width 0.
int InkLeft(const Glyph& glyph);
int InkWidth(const Glyph& glyph);

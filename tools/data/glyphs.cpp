#include "data/glyphs.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool Fail(const std::string& path, int line, const char* reason) {
    std::fprintf(stderr, "tessaline-data: %s:%d: %s\n", path.c_str(), line, reason);
    return false;
}

bool IsRow(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c != '#' && c != '.') return false;
    }
    return true;
}

}  // namespace

bool LoadFont(const std::string& path, Font& font) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "tessaline-data: cannot read %s\n", path.c_str());
        return false;
    }
    Font loaded;
    Glyph* open = nullptr;  // the block being read, until a blank line
    int widest = 0;
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find_first_not_of(" \t") == std::string::npos) {
            open = nullptr;
            continue;
        }
        if (open) {
            if (!IsRow(text)) return Fail(path, line, "a glyph row holds only '#' and '.'");
            if (text.size() > GlyphMaxWidth) return Fail(path, line, "glyph row wider than 7");
            if (open->height == GlyphMaxHeight) return Fail(path, line, "glyph taller than 12 rows");
            for (size_t x = 0; x < text.size(); ++x) {
                if (text[x] == '#') open->rows[open->height] |= static_cast<uint8_t>(1u << x);
            }
            ++open->height;
            if (static_cast<int>(text.size()) > widest) widest = static_cast<int>(text.size());
            continue;
        }
        if (text[0] == '#') continue;
        std::istringstream words(text);
        std::string word;
        words >> word;
        if (word == "origin") {
            if (!(words >> loaded.originX >> loaded.originY) || loaded.originX < 0 || loaded.originY < 0)
                return Fail(path, line, "expected `origin X Y`");
        } else if (word == "glyph") {
            int code = -1;
            if (!(words >> code) || code < 0 || code > 255) return Fail(path, line, "expected `glyph CODE` with CODE 0 to 255");
            if (loaded.glyphs[code].defined) return Fail(path, line, "glyph given twice");
            open = &loaded.glyphs[code];
            open->defined = true;
        } else {
            return Fail(path, line, "expected `origin`, `glyph` or a comment");
        }
    }
    int tallest = 0;
    for (const Glyph& glyph : loaded.glyphs) {
        if (glyph.height > tallest) tallest = glyph.height;
    }
    if (loaded.originX + widest > CellWidth || loaded.originY + tallest > CellHeight)
        return Fail(path, 0, "glyphs do not fit their 8 x 16 cells at that origin");
    font = loaded;
    return true;
}

bool GlyphInk(const Glyph& glyph, int x, int y) {
    if (x < 0 || x >= GlyphMaxWidth || y < 0 || y >= glyph.height) return false;
    return (glyph.rows[y] >> x) & 1u;
}

int InkLeft(const Glyph& glyph) {
    uint8_t columns = 0;
    for (int y = 0; y < glyph.height; ++y) columns |= glyph.rows[y];
    for (int x = 0; x < GlyphMaxWidth; ++x) {
        if ((columns >> x) & 1u) return x;
    }
    return 0;
}

int InkWidth(const Glyph& glyph) {
    uint8_t columns = 0;
    for (int y = 0; y < glyph.height; ++y) columns |= glyph.rows[y];
    int last = -1;
    for (int x = 0; x < GlyphMaxWidth; ++x) {
        if ((columns >> x) & 1u) last = x;
    }
    return last < 0 ? 0 : last - InkLeft(glyph) + 1;
}

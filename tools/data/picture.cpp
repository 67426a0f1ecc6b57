#include "data/picture.h"

#include <algorithm>

namespace {

const Glyph& GlyphOf(const Font& font, char c) { return font.glyphs[static_cast<unsigned char>(c)]; }

// The rows of the glyph boxes that hold ink anywhere in the text, so that
// the text is centred on its ink.
void InkRows(const Font& font, const char* text, int& first, int& last) {
    first = GlyphMaxHeight;
    last = -1;
    for (const char* c = text; *c; ++c) {
        const Glyph& glyph = GlyphOf(font, *c);
        for (int y = 0; y < glyph.height; ++y) {
            if (glyph.rows[y] == 0) continue;
            first = std::min(first, y);
            last = std::max(last, y);
        }
    }
    if (last < 0) first = last = 0;
}

int Advance(const Glyph& glyph) {
    const int width = InkWidth(glyph);
    return width > 0 ? width : BlankAdvance;
}

void Put(Picture& picture, int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return;
    picture.pixels[static_cast<size_t>(y) * picture.width + x] = colour;
}

void PutLittle(std::vector<uint8_t>& bytes, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

Picture MakePicture(int width, int height) {
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, 0)};
}

uint32_t Rgb(int r, int g, int b) {
    return (static_cast<uint32_t>(r & 0xFF) << 16) | (static_cast<uint32_t>(g & 0xFF) << 8) | static_cast<uint32_t>(b & 0xFF);
}

uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
    if (den <= 0) return a;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int from = static_cast<int>((a >> shift) & 0xFF);
        const int to = static_cast<int>((b >> shift) & 0xFF);
        out |= static_cast<uint32_t>(from + (to - from) * num / den) << shift;
    }
    return out;
}

void FillRect(Picture& picture, Rect area, uint32_t colour) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) Put(picture, x, y, colour);
    }
}

void FillGradient(Picture& picture, Rect area, uint32_t top, uint32_t bottom) {
    const int rows = area.bottom - area.top;
    for (int y = area.top; y < area.bottom; ++y) {
        FillRect(picture, {area.left, y, area.right, y + 1}, Mix(top, bottom, y - area.top, std::max(1, rows - 1)));
    }
}

int TextWidth(const Font& font, const char* text, const TextStyle& style) {
    int width = 0;
    int count = 0;
    for (const char* c = text; *c; ++c, ++count) width += Advance(GlyphOf(font, *c)) * style.scaleX + style.bold;
    if (count > 1) width += (count - 1) * style.gap;
    return width + (style.outline ? 2 : 0);
}

int TextHeight(const Font& font, const char* text, const TextStyle& style) {
    int first, last;
    InkRows(font, text, first, last);
    return (last - first + 1) * style.scaleY + (style.outline ? 2 : 0);
}

bool DrawText(Picture& picture, const Font& font, const char* text, Rect area, const TextStyle& style) {
    const int width = TextWidth(font, text, style);
    const int height = TextHeight(font, text, style);
    if (width > area.right - area.left || height > area.bottom - area.top) return false;
    const int border = style.outline ? 1 : 0;
    // The ink as a mask over the text box, so the outline can ring it.
    std::vector<uint8_t> ink(static_cast<size_t>(width) * height, 0);
    int first, last;
    InkRows(font, text, first, last);
    int penX = border;
    for (const char* c = text; *c; ++c) {
        const Glyph& glyph = GlyphOf(font, *c);
        const int left = InkLeft(glyph);
        for (int gy = first; gy <= last; ++gy) {
            for (int gx = 0; gx < InkWidth(glyph); ++gx) {
                if (!GlyphInk(glyph, left + gx, gy)) continue;
                for (int sy = 0; sy < style.scaleY; ++sy) {
                    for (int sx = 0; sx < style.scaleX + style.bold; ++sx) {
                        const int x = penX + gx * style.scaleX + sx;
                        const int y = border + (gy - first) * style.scaleY + sy;
                        ink[static_cast<size_t>(y) * width + x] = 1;
                    }
                }
            }
        }
        penX += Advance(glyph) * style.scaleX + style.bold + style.gap;
    }
    const int originX = area.left + (area.right - area.left - width) / 2;
    const int originY = area.top + (area.bottom - area.top - height) / 2;
    const int inkRows = height - 2 * border;
    for (int y = 0; y < height; ++y) {
        const uint32_t shade = Mix(style.inkTop, style.inkBottom, std::clamp(y - border, 0, inkRows - 1), std::max(1, inkRows - 1));
        for (int x = 0; x < width; ++x) {
            if (ink[static_cast<size_t>(y) * width + x]) {
                Put(picture, originX + x, originY + y, shade);
                continue;
            }
            if (!style.outline) continue;
            bool ring = false;
            for (int dy = -1; dy <= 1 && !ring; ++dy) {
                for (int dx = -1; dx <= 1 && !ring; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    ring = nx >= 0 && ny >= 0 && nx < width && ny < height && ink[static_cast<size_t>(ny) * width + nx];
                }
            }
            if (ring) Put(picture, originX + x, originY + y, style.outline);
        }
    }
    return true;
}

std::vector<uint8_t> EncodeBmp(const Picture& picture) {
    const uint32_t rowBytes = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(picture.height);
    constexpr uint32_t HeaderBytes = 14 + 40;
    std::vector<uint8_t> bytes;
    bytes.reserve(HeaderBytes + imageBytes);
    // BITMAPFILEHEADER
    bytes.push_back('B');
    bytes.push_back('M');
    PutLittle(bytes, HeaderBytes + imageBytes, 4);
    PutLittle(bytes, 0, 4);
    PutLittle(bytes, HeaderBytes, 4);
    // BITMAPINFOHEADER: positive height, so the rows run bottom-up.
    PutLittle(bytes, 40, 4);
    PutLittle(bytes, static_cast<uint32_t>(picture.width), 4);
    PutLittle(bytes, static_cast<uint32_t>(picture.height), 4);
    PutLittle(bytes, 1, 2);
    PutLittle(bytes, 24, 2);
    PutLittle(bytes, 0, 4);  // uncompressed
    PutLittle(bytes, imageBytes, 4);
    PutLittle(bytes, 2835, 4);  // 72 dots per inch
    PutLittle(bytes, 2835, 4);
    PutLittle(bytes, 0, 4);
    PutLittle(bytes, 0, 4);
    for (int y = picture.height - 1; y >= 0; --y) {
        const size_t start = bytes.size();
        for (int x = 0; x < picture.width; ++x) PutLittle(bytes, picture.pixels[static_cast<size_t>(y) * picture.width + x], 3);
        bytes.resize(start + rowBytes, 0);
    }
    return bytes;
}

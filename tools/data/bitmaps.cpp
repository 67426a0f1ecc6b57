// The game's six bitmaps under Image/, painted from the screen font
// (assets/font/font.txt) and the layouts below. Black is the colour key
// wherever the game copies a piece with it, so the banners, the status
// pieces and the font keep exactly 0 around what they show, and what does
// show is never exactly 0.
#include <cstdio>
#include <string>

#include "data/glyphs.h"
#include "data/picture.h"
#include "data/writers.h"

namespace {

struct Banner {
    const char* text;
    Rect region;  // where the game takes the banner from
    TextStyle style;
};

// Drawn centred on the screen between 0.3 and 1.5 times their size, so
// they are thick, bright and ringed in a dark shade of their own colour.
constexpr Banner battleBanners[] = {
    {"READY", {0, 0, 85, 25}, {3, 3, 0, 2, 0xFFFAC8, 0xFF961E, 0x5A1E00}},
    {"FIGHT!", {96, 0, 176, 25}, {3, 3, 0, 1, 0xFFF078, 0xE62814, 0x46000A}},
    {"KO", {0, 35, 40, 60}, {3, 3, 0, 2, 0xFFC8C8, 0xDC141E, 0x3C0000}},
    {"RING OUT", {0, 65, 110, 100}, {2, 4, 1, 2, 0xDCFAFF, 0x288CFF, 0x001E50}},
    {"WINNER", {0, 135, 96, 170}, {3, 4, 0, 2, 0xFFFFD2, 0xF0AA14, 0x5A2800}},
};

constexpr int BattleWidth = 256, BattleHeight = 192;

// The status strip's pieces.
constexpr Rect stripArea = {0, 32, 320, 64};
constexpr Rect barFrameArea = {0, 0, 96, 16};
constexpr Rect emblemArea = {128, 0, 160, 32};
constexpr int FrameBorder = 2;

bool Write(const DataPaths& paths, const char* name, const Picture& picture) {
    const std::vector<uint8_t> bytes = EncodeBmp(picture);
    return WriteDataFile(paths, std::string("Image/") + name, bytes.data(), bytes.size());
}

bool Paint(Picture& picture, const Font& font, const char* text, Rect area, const TextStyle& style) {
    for (const char* c = text; *c; ++c) {
        if (font.glyphs[static_cast<unsigned char>(*c)].defined) continue;
        std::fprintf(stderr, "tessaline-data: the font has no glyph for '%c' of \"%s\"\n", *c, text);
        return false;
    }
    if (DrawText(picture, font, text, area, style)) return true;
    std::fprintf(stderr, "tessaline-data: \"%s\" does not fit its place in the pictures\n", text);
    return false;
}

Picture FontPicture(const Font& font) {
    Picture picture = MakePicture(16 * CellWidth, 16 * CellHeight);
    for (int code = 0; code < 256; ++code) {
        const Glyph& glyph = font.glyphs[code];
        const int left = (code % 16) * CellWidth + font.originX;
        const int top = (code / 16) * CellHeight + font.originY;
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < GlyphMaxWidth; ++x) {
                if (GlyphInk(glyph, x, y)) FillRect(picture, {left + x, top + y, left + x + 1, top + y + 1}, 0xFFFFFF);
            }
        }
    }
    return picture;
}

bool BattlePicture(const Font& font, Picture& picture) {
    picture = MakePicture(BattleWidth, BattleHeight);
    bool ok = true;
    for (const Banner& banner : battleBanners) ok = Paint(picture, font, banner.text, banner.region, banner.style) && ok;
    return ok;
}

// Two crossed swords over a ring. For the swords, across is the distance
// off a blade's diagonal and along runs from its tip (top) to its pommel
// (bottom); the ring is measured in doubled units from the piece's centre.
uint32_t EmblemPixel(int x, int y) {
    for (int sword = 0; sword < 2; ++sword) {
        const int sx = sword == 0 ? x : 31 - x;
        const int across = sx - y < 0 ? y - sx : sx - y;
        const int along = sx + y;
        if (along >= 8 && along < 42 && across <= 1) return across == 0 ? 0xFFF0B4 : 0xDCAA3C;
        if (along >= 42 && along < 45 && across <= 6) return 0xC88C28;
        if (along >= 45 && along < 51 && across <= 1) return 0x8C5A1E;
        if (along >= 51 && along < 55 && across <= 2) return 0xE6B43C;
    }
    const int dx = 2 * x - 31, dy = 2 * y - 31;
    const int distance = dx * dx + dy * dy;
    if (distance >= 25 * 25 && distance <= 29 * 29) return distance <= 27 * 27 ? 0xE6B43C : 0x8C6414;
    return 0;
}

Picture StatesPicture() {
    Picture picture = MakePicture(320, 64);
    FillGradient(picture, stripArea, 0x3C465A, 0x1E2434);
    FillRect(picture, {stripArea.left, stripArea.top, stripArea.right, stripArea.top + 1}, 0x4C5870);
    FillRect(picture, {stripArea.left, stripArea.bottom - 1, stripArea.right, stripArea.bottom}, 0xAAB9D2);
    // The bar frame: a light outer ring and a darker inner one; the bar is
    // drawn inside at +2, +2 and the inside stays transparent.
    const Rect inner = {barFrameArea.left + 1, barFrameArea.top + 1, barFrameArea.right - 1, barFrameArea.bottom - 1};
    FillRect(picture, barFrameArea, 0xD2DCEB);
    FillRect(picture, inner, 0x7882A0);
    FillRect(picture, {barFrameArea.left + FrameBorder, barFrameArea.top + FrameBorder, barFrameArea.right - FrameBorder,
                       barFrameArea.bottom - FrameBorder}, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int px = emblemArea.left + x, py = emblemArea.top + y;
            FillRect(picture, {px, py, px + 1, py + 1}, EmblemPixel(x, y));
        }
    }
    return picture;
}

// The title: a dusk sky over a floor of coloured squares running to the
// horizon, like the stage the fighters stand on, under the game's name.
// The title is blended over the live figures, so none of it is black.
constexpr int Horizon = 132;
constexpr uint32_t skyTop = 0x141840, skyHorizon = 0x5A3C6E, floorFog = 0x463A60;
constexpr uint32_t floorColours[] = {0x3C5A78, 0x5A466E, 0x2E6464, 0x6E5A46};

struct TitleLine {
    const char* text;
    Rect area;
    TextStyle style;
};
constexpr TitleLine titleLines[] = {
    {"Tessaline", {0, 34, 320, 100}, {5, 5, 0, 4, 0xFFFADC, 0xF0AA3C, 0x3C1428}},
    {"PRESS X OR ENTER", {0, 174, 320, 196}, {2, 2, 0, 2, 0xFFFFFF, 0xC8D2F0, 0x1E1432}},
    {"1P: ARROWS X Z    2P: GAMEPAD", {0, 210, 320, 226}, {1, 1, 0, 1, 0xDCE6FF, 0xDCE6FF, 0x1E1432}},
};
constexpr int ShadowOffset = 3;
constexpr uint32_t titleShadow = 0x1E1430;

int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Depth falls off as one over the distance below the horizon; squares
// fade into the horizon's haze with depth.
uint32_t FloorPixel(int x, int y) {
    const int below = y - Horizon;
    const int depth = 256 * 40 / below;
    const int across = (x - 160) * depth / 160;
    const uint32_t colour = floorColours[(FloorDiv(across, 48) & 1) | (FloorDiv(depth, 48) & 1) << 1];
    return Mix(floorFog, colour, below, 240 - Horizon);
}

bool TitlePicture(const Font& font, Picture& picture) {
    picture = MakePicture(320, 240);
    FillGradient(picture, {0, 0, 320, Horizon}, skyTop, skyHorizon);
    for (int y = Horizon; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) FillRect(picture, {x, y, x + 1, y + 1}, y == Horizon ? 0x9682AA : FloorPixel(x, y));
    }
    const TitleLine& name = titleLines[0];
    const Rect shadowArea = {name.area.left + ShadowOffset, name.area.top + ShadowOffset, name.area.right + ShadowOffset,
                             name.area.bottom + ShadowOffset};
    const TextStyle shadow = {name.style.scaleX, name.style.scaleY, name.style.bold, name.style.gap, titleShadow, titleShadow, titleShadow};
    bool ok = Paint(picture, font, name.text, shadowArea, shadow);
    for (const TitleLine& line : titleLines) ok = Paint(picture, font, line.text, line.area, line.style) && ok;
    return ok;
}

// Loaded by the game but never shown: a plain sky and a strip of hues.
Picture StageBackPicture() {
    Picture picture = MakePicture(320, 240);
    FillGradient(picture, {0, 0, 320, 240}, 0x285AB4, 0xB4D2F0);
    return picture;
}

Picture PolygonPalPicture() {
    constexpr uint32_t hues[] = {0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF, 0xFF0000};
    Picture picture = MakePicture(256, 16);
    for (int x = 0; x < 256; ++x) {
        const int part = x * 6 / 256;
        FillRect(picture, {x, 0, x + 1, 16}, Mix(hues[part], hues[part + 1], x * 6 - part * 256, 256));
    }
    return picture;
}

}  // namespace

bool WriteBitmaps(const DataPaths& paths) {
    Font font;
    if (!LoadFont(paths.assets + "/font/font.txt", font)) return false;
    Picture battle, title;
    if (!BattlePicture(font, battle) || !TitlePicture(font, title)) return false;
    bool ok = Write(paths, "Font.bmp", FontPicture(font));
    ok = Write(paths, "Battle.bmp", battle) && ok;
    ok = Write(paths, "States.bmp", StatesPicture()) && ok;
    ok = Write(paths, "Title.bmp", title) && ok;
    ok = Write(paths, "Stage1_BgBack.bmp", StageBackPicture()) && ok;
    ok = Write(paths, "PolygonPal.bmp", PolygonPalPicture()) && ok;
    return ok;
}

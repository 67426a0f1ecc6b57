// The game's bitmaps as the data maker writes them, loaded the way the
// game loads them: sizes, ink where the game copies from, and the colour
// key (black) everywhere else.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

struct Region {
    int left, top, right, bottom;
};

struct Image {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int InkIn(Region r) const {
        int ink = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) ink += At(x, y) != 0;
        return ink;
    }
};

Image Load(const std::string& name) {
    Image image;
    const std::string path = std::string(TESSALINE_DATA_DIR) + "/Image/" + name;
    EXPECT_TRUE(platform::LoadBitmapFile(path.c_str(), image.pixels, image.width, image.height)) << path;
    return image;
}

Region CellOf(int code) { return {(code % 16) * 8, (code / 16) * 16, (code % 16) * 8 + 8, (code / 16) * 16 + 16}; }

TEST(Bitmaps, TheFontHasALightDistinctGlyphForEveryPrintableByte) {
    const Image font = Load("Font.bmp");
    ASSERT_EQ(font.width, 128);
    ASSERT_EQ(font.height, 256);
    // The space and the control codes leave the picture untouched.
    for (int code : {0, 10, 31, 32, 127}) EXPECT_EQ(font.InkIn(CellOf(code)), 0) << code;
    std::set<std::vector<uint32_t>> seen;
    for (int code = 33; code <= 126; ++code) {
        const Region c = CellOf(code);
        std::vector<uint32_t> cell;
        for (int y = c.top; y < c.bottom; ++y)
            for (int x = c.left; x < c.right; ++x) cell.push_back(font.At(x, y));
        for (uint32_t p : cell) EXPECT_TRUE(p == 0 || (p & 0xFF) >= 0xC0) << code << " is dark over the stage";
        EXPECT_GT(font.InkIn(c), 2) << code;
        EXPECT_TRUE(seen.insert(cell).second) << "byte " << code << " looks like another glyph";
    }
}

// Each region the game copies from, with the ink it must hold; outside
// them every pixel is the colour key.
TEST(Bitmaps, PiecesHoldTheirInkAndNothingElseShows) {
    const struct {
        const char* image;
        int width, height;
        std::vector<std::pair<Region, std::pair<int, int>>> pieces;  // region, least and most ink
    } images[] = {
        // READY, FIGHT, KO, RING OUT, WINNER: text over at least a third of each.
        {"Battle.bmp", 256, 192,
         {{{0, 0, 85, 25}, {708, 2125}}, {{96, 0, 176, 25}, {667, 2000}}, {{0, 35, 40, 60}, {333, 1000}},
          {{0, 65, 110, 100}, {1283, 3850}}, {{0, 135, 96, 170}, {1120, 3360}}}},
        // The strip is copied with the colour key, so black would be holes; the
        // health bar frame is a solid 2-pixel border the bar shows through.
        {"States.bmp", 320, 64,
         {{{0, 32, 320, 64}, {320 * 32, 320 * 32}},
          {{0, 0, 96, 16}, {96 * 16 - 92 * 12, 96 * 16 - 92 * 12}},
          {{2, 2, 94, 14}, {0, 0}},
          {{128, 0, 160, 32}, {100, 32 * 32}}}},
        // The title is blended over the figures: black would show as a dark patch.
        {"Title.bmp", 320, 240, {{{0, 0, 320, 240}, {320 * 240, 320 * 240}}}},
        // Loaded, not drawn.
        {"Stage1_BgBack.bmp", 320, 240, {{{0, 0, 320, 240}, {0, 320 * 240}}}},
        {"PolygonPal.bmp", 256, 16, {{{0, 0, 256, 16}, {0, 256 * 16}}}},
    };
    for (const auto& i : images) {
        SCOPED_TRACE(i.image);
        const Image image = Load(i.image);
        ASSERT_EQ(image.width, i.width);
        ASSERT_EQ(image.height, i.height);
        int inPieces = 0;
        for (const auto& [r, ink] : i.pieces) {
            const int n = image.InkIn(r);
            EXPECT_GE(n, ink.first) << r.left << "," << r.top;
            EXPECT_LE(n, ink.second) << r.left << "," << r.top;
            inPieces += n;
        }
        EXPECT_EQ(image.InkIn({0, 0, image.width, image.height}), inPieces) << "ink outside the pieces";
    }
}

}  // namespace

// The game's bitmaps as the data maker writes them, loaded the way the
// game loads them: sizes, what the game copies out of each, and the
// colour key (black) exactly where the game must see through.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

struct Image {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct Region {
    int left, top, right, bottom;
    bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

Image Load(const char* name) {
    Image image;
    const std::string path = std::string(TESSALINE_DATA_DIR) + "/Image/" + name;
    EXPECT_TRUE(platform::LoadBitmapFile(path.c_str(), image.pixels, image.width, image.height)) << path;
    return image;
}

int InkIn(const Image& image, Region r) {
    int ink = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) ink += image.At(x, y) != 0;
    }
    return ink;
}

// Pixels that are not black outside every listed region.
int StrayPixels(const Image& image, const std::vector<Region>& regions) {
    int stray = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            bool inside = false;
            for (const Region& r : regions) inside = inside || r.Holds(x, y);
            stray += !inside && image.At(x, y) != 0;
        }
    }
    return stray;
}

std::vector<uint32_t> Cell(const Image& font, int code) {
    std::vector<uint32_t> cell;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 8; ++x) cell.push_back(font.At((code % 16) * 8 + x, (code / 16) * 16 + y));
    }
    return cell;
}

// The banners the battle and the end of a fight take from Battle.bmp.
const Region bannerRegions[] = {{0, 0, 85, 25}, {96, 0, 176, 25}, {0, 35, 40, 60}, {0, 65, 110, 100}, {0, 135, 96, 170}};

TEST(Bitmaps, FontHasADistinctGlyphForEveryPrintableByteOnTheColourKey) {
    const Image font = Load("Font.bmp");
    ASSERT_EQ(font.width, 128);
    ASSERT_EQ(font.height, 256);
    // The space and the control codes leave the picture untouched.
    for (int code : {0, 10, 31, 32, 127}) EXPECT_EQ(InkIn(font, {(code % 16) * 8, (code / 16) * 16, (code % 16) * 8 + 8, (code / 16) * 16 + 16}), 0) << code;
    std::set<std::vector<uint32_t>> seen;
    for (int code = 33; code <= 126; ++code) {
        const std::vector<uint32_t> cell = Cell(font, code);
        int ink = 0;
        for (uint32_t p : cell) {
            ink += p != 0;
            // Glyph pixels are light, so they read over the stage.
            if (p != 0) {
                EXPECT_GE(p & 0xFF, 0xC0u) << code;
            }
        }
        EXPECT_GT(ink, 2) << code;
        EXPECT_TRUE(seen.insert(cell).second) << "byte " << code << " looks like another glyph";
    }
    // The frame counter prints digits and the format's '%' lives at (40, 32).
    EXPECT_GT(InkIn(font, {40, 32, 48, 48}), 5);
    for (int digit = '0'; digit <= '9'; ++digit) EXPECT_GT(InkIn(font, {(digit % 16) * 8, 48, (digit % 16) * 8 + 8, 64}), 6);
}

TEST(Bitmaps, BannersFillTheirRegionsAndNothingElseShows) {
    const Image battle = Load("Battle.bmp");
    ASSERT_GE(battle.width, 176);
    ASSERT_GE(battle.height, 170);
    for (const Region& r : bannerRegions) {
        SCOPED_TRACE(r.left * 1000 + r.top);
        // The text spans most of its region, so it reads when drawn at 0.3.
        int left = r.right, right = r.left, top = r.bottom, bottom = r.top;
        uint32_t brightest = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                const uint32_t p = battle.At(x, y);
                if (p == 0) continue;
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
                brightest = std::max({brightest, p >> 16, (p >> 8) & 0xFF, p & 0xFF});
            }
        }
        EXPECT_GE(right - left, (r.right - r.left) * 2 / 3);
        EXPECT_GE(bottom - top, (r.bottom - r.top) * 2 / 3);
        EXPECT_GE(brightest, 0xF0u);
    }
    EXPECT_EQ(StrayPixels(battle, std::vector<Region>(std::begin(bannerRegions), std::end(bannerRegions))), 0);
}

TEST(Bitmaps, StatusPiecesShowWhereTheStripIsComposed) {
    const Image states = Load("States.bmp");
    ASSERT_EQ(states.width, 320);
    ASSERT_EQ(states.height, 64);
    const Region strip = {0, 32, 320, 64}, frame = {0, 0, 96, 16}, emblem = {128, 0, 160, 32};
    // The strip background is copied with the colour key: black would be holes.
    EXPECT_EQ(InkIn(states, strip), 320 * 32);
    // The frame's 2-pixel border is solid; inside it the bar and the strip show.
    EXPECT_EQ(InkIn(states, frame), 96 * 16 - 92 * 12);
    EXPECT_EQ(InkIn(states, {2, 2, 94, 14}), 0);
    EXPECT_GT(InkIn(states, emblem), 100);
    EXPECT_EQ(StrayPixels(states, {strip, frame, emblem}), 0);
}

TEST(Bitmaps, TitleHidesNoHoleAndUnusedImagesLoad) {
    // The title is blended over the figures; black anywhere would show as a
    // darker patch, not as the figures.
    const Image title = Load("Title.bmp");
    ASSERT_EQ(title.width, 320);
    ASSERT_EQ(title.height, 240);
    int black = 0;
    std::set<uint32_t> colours;
    for (uint32_t p : title.pixels) {
        black += p == 0;
        colours.insert(p);
    }
    EXPECT_EQ(black, 0);
    EXPECT_GT(colours.size(), 50u);
    for (const char* unused : {"Stage1_BgBack.bmp", "PolygonPal.bmp"}) EXPECT_GT(Load(unused).width, 0) << unused;
}

TEST(Bitmaps, DataMakerRefusesAMalformedFont) {
    namespace fs = std::filesystem;
    const fs::path scratch = fs::temp_directory_path() / ("tessaline-font-" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    fs::copy(TESSALINE_ASSETS_DIR, scratch / "assets", fs::copy_options::recursive);
    const struct {
        const char* text;
        const char* reason;
    } broken[] = {
        {"origin 1 4\nglyph 65 A\n.##x.\n", "only '#' and '.'"},
        {"origin 1 4\nglyph 65 A\n########\n", "wider than 7"},
        {"origin 2 4\nglyph 65 A\n#######\n", "do not fit"},
        {"origin 1 4\nglyph 300 ?\n#\n", "CODE 0 to 255"},
        {"origin 1 4\nglyph 65 A\n#\n\nglyph 65 A\n#\n", "given twice"},
        {"origin 1 4\nglyph 32 space\n.\n", "no glyph for 'R'"},  // "READY" cannot be drawn
    };
    // The control: the real font, with DOS line ends, is accepted.
    std::string real;
    {
        std::ifstream source(std::string(TESSALINE_ASSETS_DIR) + "/font/font.txt");
        for (std::string line; std::getline(source, line);) real += line + "\r\n";
    }
    std::vector<std::pair<std::string, std::string>> fonts;
    for (const auto& font : broken) fonts.emplace_back(font.text, font.reason);
    fonts.emplace_back(real, "");
    for (const auto& [text, reason] : fonts) {
        SCOPED_TRACE(text.substr(0, 40));
        std::ofstream(scratch / "assets/font/font.txt", std::ios::binary | std::ios::trunc) << text;
        const fs::path log = scratch / "log.txt";
        const std::string command = std::string(TESSALINE_DATA_TOOL) + " " + (scratch / "out").string() + " --assets " +
                                    (scratch / "assets").string() + " 2>" + log.string();
        const int status = std::system(command.c_str());
        std::ifstream logFile(log);
        const std::string said{std::istreambuf_iterator<char>(logFile), std::istreambuf_iterator<char>()};
        if (!reason.empty()) {
            EXPECT_NE(status, 0);
            EXPECT_NE(said.find(reason), std::string::npos) << said;
        } else {
            EXPECT_EQ(status, 0) << said;
        }
    }
    fs::remove_all(scratch);
}

}  // namespace

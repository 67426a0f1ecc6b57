// The menu icon: the box filter that scales the duel down (and up), and
// the replay tool writing the icon at the sizes the desktop asks for.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "replay/icon.h"

namespace fs = std::filesystem;

namespace {

// A picture `width` wide, every pixel the poison colour: what the filter
// must never read lies outside the square it is given.
constexpr uint32_t Poison = 0x00FF00;

std::vector<uint32_t> Picture(int width, int height) {
    return std::vector<uint32_t>(static_cast<size_t>(width) * height, Poison);
}

int RunTool(const std::string& arguments) {
    const std::string command = std::string("\"") + TESSALINE_REPLAY + "\" --data \"" + TESSALINE_DATA_DIR + "\" " +
                                arguments + " 2>/dev/null";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

}  // namespace

TEST(Icon, ABoxOfPixelsBecomesItsMeanChannelByChannel) {
    // A 10 x 10 square at (3, 2) of a 16-wide picture, four 5 x 5 blocks.
    std::vector<uint32_t> p = Picture(16, 14);
    const uint32_t blocks[4] = {0x102030, 0xFFFFFF, 0x000000, 0x80FF01};
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) p[static_cast<size_t>(2 + y) * 16 + 3 + x] = blocks[(y / 5) * 2 + x / 5];
    }
    EXPECT_EQ(ScaleSquare(p.data(), 16, 3, 2, 10, 2), std::vector<uint32_t>(blocks, blocks + 4));

    // Two pixels of one block: red and blue average without carrying into
    // each other, black and white round to the nearer level.
    p = Picture(4, 2);
    p[0] = 0xFF0000, p[1] = 0x0000FF, p[4] = 0xFF0000, p[5] = 0x0000FF;
    EXPECT_EQ(ScaleSquare(p.data(), 4, 0, 0, 2, 1), std::vector<uint32_t>{0x800080});
    p[0] = p[4] = 0xFFFFFF, p[1] = p[5] = 0;
    EXPECT_EQ(ScaleSquare(p.data(), 4, 0, 0, 2, 1), std::vector<uint32_t>{0x808080});
}

TEST(Icon, EverySizeFromTheDuelsSquareCoversItWithoutGapsOrStrayPixels) {
    // One colour in, the same colour out at every size the menus use, at a
    // ratio that is no whole number and scaled up.
    std::vector<uint32_t> p = Picture(320, 240);
    for (int y = 0; y < 240; ++y) {
        for (int x = 40; x < 280; ++x) p[static_cast<size_t>(y) * 320 + x] = 0x336699;
    }
    for (int size : {48, 128, 256}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(ScaleSquare(p.data(), 320, 40, 0, 240, size), std::vector<uint32_t>(size * size, 0x336699));
    }
    // Scaled up, each pixel repeats as a block of its own.
    p = Picture(2, 2);
    p[0] = 1, p[1] = 2, p[2] = 3, p[3] = 4;
    EXPECT_EQ(ScaleSquare(p.data(), 2, 0, 0, 2, 4),
              (std::vector<uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

TEST(Icon, TheToolWritesAnIconAndRefusesWhatItCannotDraw) {
    const fs::path dir = fs::temp_directory_path() / ("tessaline-icon-" + std::to_string(getpid()));
    fs::create_directories(dir);
    // (The installed icons' sizes are checked by the package's install test.)
    const fs::path made = dir / "48.png";
    ASSERT_EQ(RunTool("--icon 48 " + made.string()), 0);
    EXPECT_GT(fs::file_size(made), 100u);
    const fs::path refused = dir / "refused.png";
    EXPECT_EQ(RunTool("--icon 0 " + refused.string()), 2);
    EXPECT_EQ(RunTool("--icon 48"), 2);
    EXPECT_EQ(RunTool("--icon 48 " + (dir / "no-folder" / "x.png").string()), 2);
    EXPECT_EQ(RunTool("--data " + (dir / "no-data").string() + " --icon 48 " + refused.string()), 2);
    EXPECT_FALSE(fs::exists(refused));
    fs::remove_all(dir);
}

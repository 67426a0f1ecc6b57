// The data maker refuses a source it cannot turn into data the game can
// use, saying why (for a motion, the file and the line too); the game's
// own sources are accepted, the font with DOS line ends as well.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "support/scratch_files.h"

namespace fs = std::filesystem;

namespace {

// Makes the data from a copy of the game's sources with one file replaced:
// the exit status and what the maker said.
std::pair<int, std::string> MakeDataWith(const std::string& file, const std::string& text) {
    ScratchFolder folder("tessaline-sources");
    fs::copy(TESSALINE_ASSETS_DIR, "assets", fs::copy_options::recursive);
    std::ofstream("assets/" + file, std::ios::binary | std::ios::trunc) << text;
    const int status = std::system((std::string(TESSALINE_DATA_TOOL) + " data --assets assets 2> errors.txt").c_str());
    std::stringstream errors;
    errors << std::ifstream("errors.txt").rdbuf();
    return {status, errors.str()};
}

TEST(DataSources, MalformedOrUnplayableSourcesAreRefusedWithTheReason) {
    const char* const walk = "motions/Walk.txt";
    const char* const font = "font/font.txt";
    std::string dosFont;
    std::ifstream source(std::string(TESSALINE_ASSETS_DIR) + "/" + font);
    for (std::string line; std::getline(source, line);) dosFont += line + "\r\n";
    const struct {
        const char* file;
        std::string text;
        const char* reason;  // none: accepted
    } cases[] = {
        {walk, "key 0 duration 6 End\n    upperLeg1 0 34 0   # a comment\nkey 1 duration 4\n    8 0 -26 0\n", nullptr},
        {font, dosFont, nullptr},
        {walk, "key 0 duration 6 End\n  torso 0 600 0\nkey 1 duration 4\n", "Walk.txt:2: an angle"},
        {walk, "key 0 duration 6 End\n  elbow 0 6 0\nkey 1 duration 4\n", "Walk.txt:2: unknown joint 'elbow'"},
        {walk, "key 0 duration 6 End\n  torso 0 6\nkey 1 duration 4\n", "Walk.txt:2: a joint line"},
        {walk, "key 0 duration 6 End\n  torso 0 6 0\n  torso 0 8 0\nkey 1 duration 4\n", "Walk.txt:3: joint torso"},
        {walk, "  torso 0 6 0\nkey 0 duration 6 End\nkey 1 duration 4\n", "Walk.txt:1: a joint line before"},
        {walk, "key 0 duration 1 End\nkey 1 duration 4\n", "Walk.txt:1: the duration"},
        {walk, "key 0 duration 6 Loop End\nkey 1 duration 4\n", "Walk.txt:1: a key is either"},
        {walk, "key 0 duration 6 End\nkey 2 duration 4\n", "Walk.txt:2: expected key 1"},
        {walk, "key 0 duration 6 End\n", "Walk.txt:1: this motion has 2 keys"},
        {walk, "key 0 duration 6\nkey 1 duration 4\n", "Walk.txt:2: the last key needs Loop"},
        {walk, "key 0 duration 6\nkey 1 duration 4 End\n", "Walk.txt:2: End on the last key"},
        {walk, "key 0 duration 6 End\nkey 1 duration 3\n", "Walk.txt:2: the key after an End"},
        {font, "origin 1 4\nglyph 65 A\n.##x.\n", "only '#' and '.'"},
        {font, "origin 1 4\nglyph 65 A\n########\n", "wider than 7"},
        {font, "origin 2 4\nglyph 65 A\n#######\n", "do not fit"},
        {font, "origin 1 4\nglyph 300 ?\n#\n", "CODE 0 to 255"},
        {font, "origin 1 4\nglyph 65 A\n#\n\nglyph 65 A\n#\n", "given twice"},
        {font, "origin 1 4\nglyph 32 space\n.\n", "no glyph for 'R'"},  // "READY" could not be drawn
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        const auto [status, errors] = MakeDataWith(c.file, c.text);
        if (c.reason) {
            EXPECT_NE(status, 0);
            EXPECT_NE(errors.find(c.reason), std::string::npos) << errors;
        } else {
            EXPECT_EQ(status, 0) << errors;
            EXPECT_EQ(errors, "");
        }
    }
}

}  // namespace

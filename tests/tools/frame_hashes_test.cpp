// The pictures are defined to the bit: every frame of two 3000-frame runs,
// the timed match of the benchmark and a run through every draw mode,
// shade mode, outline and shadow setting, both display modes and all five
// cameras, must hash as recorded. A faster filler or blend that changes a
// single pixel anywhere fails here, naming the first frame it changed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(std::istream& in) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> RecordedHashes(const std::string& name) {
    std::ifstream file(std::string(TESSALINE_SOURCE_DIR) + "/tests/tools/matches/" + name);
    return Lines(file);
}

std::vector<std::string> ReplayHashes(const std::string& input) {
    const std::string out =
        (fs::temp_directory_path() / ("tessaline-hashes-" + std::to_string(getpid()))).string();
    const std::string command = std::string("\"") + TESSALINE_REPLAY + "\" --data \"" + TESSALINE_DATA_DIR +
                                "\" --frames 3000 --hash --input \"" + input + "\" > \"" + out + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream file(out);
    std::vector<std::string> lines = Lines(file);
    fs::remove(out);
    return lines;
}

void ExpectSameFrames(const std::string& input, const std::string& recorded) {
    const std::vector<std::string> want = RecordedHashes(recorded), got = ReplayHashes(input);
    ASSERT_EQ(want.size(), 3000u) << recorded;
    ASSERT_EQ(got.size(), want.size()) << input;
    for (size_t f = 0; f < want.size(); ++f)
        ASSERT_EQ(got[f], want[f]) << input << ": frame " << f + 1 << " is not the recorded picture";
}

TEST(FrameHashes, EveryFrameOfTheTimedMatchAndOfEveryDrawingModeIsAsRecorded) {
    ExpectSameFrames(std::string(TESSALINE_SOURCE_DIR) + "/bench/match.input", "bench-match.hashes");
    ExpectSameFrames(std::string(TESSALINE_SOURCE_DIR) + "/tests/tools/matches/modes.input", "modes.hashes");
}

}  // namespace

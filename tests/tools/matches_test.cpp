// Whole matches through the replay tool with player 2 on the virtual
// gamepad: one ended by knock-out, one by ring-out, each followed by the
// knock-out and winner scenes and the return to the title with the match
// reset; and the same input giving the same frames twice.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct FrameState {
    int scene;
    int health[2];
    double rootX[2], rootZ[2];
    int ringOut[2];
    int currentMotion[2];
};

std::string RunReplay(const std::string& input, int frames, const std::string& extra) {
    const std::string out = (fs::temp_directory_path() / ("tessaline-match-" + std::to_string(getpid()))).string();
    const std::string command = std::string("\"") + TESSALINE_REPLAY + "\" --data \"" + TESSALINE_DATA_DIR +
                                "\" --frames " + std::to_string(frames) + " --input \"" + TESSALINE_SOURCE_DIR +
                                "/tests/tools/matches/" + input + "\" " + extra + " > \"" + out + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream file(out);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    fs::remove(out);
    return text;
}

std::vector<FrameState> RunStates(const std::string& input, int frames) {
    const std::string path = (fs::temp_directory_path() / ("tessaline-states-" + std::to_string(getpid()))).string();
    RunReplay(input, frames, "--state \"" + path + "\"");
    std::ifstream file(path);
    std::vector<FrameState> states;
    const std::regex scene("\"scene\":(-?\\d+)");
    const std::regex fighter(
        "\"health\":(-?\\d+),\"fullHealth\":\\d+,\"root\":\\[([-0-9.e]+),[-0-9.e]+,([-0-9.e]+)\\].*?"
        "\"currentMotion\":(\\d+).*?\"ringOut\":(\\d+)");
    for (std::string line; std::getline(file, line);) {
        FrameState s{};
        std::smatch m;
        if (!std::regex_search(line, m, scene)) continue;
        s.scene = std::stoi(m[1]);
        auto at = line.cbegin();
        for (int k = 0; k < 2 && std::regex_search(at, line.cend(), m, fighter); ++k) {
            s.health[k] = std::stoi(m[1]);
            s.rootX[k] = std::stod(m[2]);
            s.rootZ[k] = std::stod(m[3]);
            s.currentMotion[k] = std::stoi(m[4]);
            s.ringOut[k] = std::stoi(m[5]);
            at = m[0].second;
        }
        states.push_back(s);
    }
    fs::remove(path);
    return states;
}

// The first frame at or after `from` in that scene, or -1.
int FirstIn(const std::vector<FrameState>& states, int scene, int from) {
    for (size_t i = static_cast<size_t>(from); i < states.size(); ++i)
        if (states[i].scene == scene) return static_cast<int>(i);
    return -1;
}

void ExpectEndOfMatch(const std::vector<FrameState>& states, int loser) {
    const int knockOut = FirstIn(states, 3, 0);
    ASSERT_GT(knockOut, 0);
    const int winner = FirstIn(states, 4, knockOut);
    const int title = FirstIn(states, 0, knockOut);
    EXPECT_EQ(winner - knockOut, 43);
    EXPECT_EQ(title - winner, 43);
    ASSERT_GT(title, 0);
    EXPECT_EQ(states[static_cast<size_t>(title) - 1].currentMotion[1 - loser], 5) << "the winner's pose";
    const FrameState& reset = states[static_cast<size_t>(title)];
    EXPECT_EQ(reset.health[0], 1000);
    EXPECT_EQ(reset.health[1], 1000);
    EXPECT_DOUBLE_EQ(reset.rootX[0], -324.0);
    EXPECT_DOUBLE_EQ(reset.rootX[1], 124.0);
    EXPECT_DOUBLE_EQ(reset.rootZ[0], -100.0);
    EXPECT_DOUBLE_EQ(reset.rootZ[1], -100.0);
    EXPECT_EQ(reset.ringOut[0] + reset.ringOut[1], 0);
}

TEST(Matches, AKnockOutOnTheGamepadEndsInTheWinnerAndTheTitle) {
    const std::vector<FrameState> states = RunStates("ko.input", 1100);
    const int knockOut = FirstIn(states, 3, 0);
    ASSERT_GT(knockOut, 0);
    EXPECT_LE(states[static_cast<size_t>(knockOut)].health[1], 0);
    EXPECT_GT(states[static_cast<size_t>(knockOut)].health[0], 0);
    ExpectEndOfMatch(states, 1);
}

TEST(Matches, ARingOutEndsInTheWinnerAndTheTitle) {
    const std::vector<FrameState> states = RunStates("ringout.input", 600);
    const int knockOut = FirstIn(states, 3, 0);
    ASSERT_GT(knockOut, 0);
    EXPECT_EQ(states[static_cast<size_t>(knockOut)].ringOut[0], 1);
    ExpectEndOfMatch(states, 0);
}

TEST(Matches, TheSameInputGivesTheSameFrames) {
    const std::string first = RunReplay("ko.input", 400, "--hash");
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 400);
    EXPECT_EQ(first, RunReplay("ko.input", 400, "--hash"));
}

}  // namespace

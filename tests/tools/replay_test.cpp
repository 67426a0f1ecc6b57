// The replay tool as a user runs it: whole matches with player 2 on the
// virtual gamepad, each ended by knock-out or ring-out, followed by the
// knock-out and winner scenes and the return to the title with the match
// reset; the same input giving the same frames; the pose viewer; and the
// refusal, with status 2, of what it cannot follow.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string out, errors;
};

std::string Scratch(const std::string& what) {
    return (fs::temp_directory_path() / ("tessaline-replay-" + what + "-" + std::to_string(getpid()))).string();
}

std::string Slurp(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    fs::remove(path);
    return text.str();
}

Outcome Replay(const std::string& arguments) {
    const std::string out = Scratch("out"), errors = Scratch("errors");
    const std::string command = std::string("\"") + TESSALINE_REPLAY + "\" --data \"" + TESSALINE_DATA_DIR + "\" " +
                                arguments + " > \"" + out + "\" 2> \"" + errors + "\"";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(errors)};
}

std::string Match(const char* input) { return std::string(" --input ") + TESSALINE_SOURCE_DIR + "/tests/tools/matches/" + input; }

struct FrameState {
    int scene;
    int health[2], currentMotion[2], ringOut[2];
    double rootX[2], rootZ[2];
};

// The number after "name": in a state line, searched from `at`; in a list,
// the one after `skip` commas.
double Field(const std::string& line, size_t at, const std::string& name, int skip = 0) {
    size_t p = line.find("\"" + name + "\":", at);
    if (p == std::string::npos) return -1e9;
    p += name.size() + 3 + (line[p + name.size() + 3] == '[');
    for (; skip > 0; --skip) p = line.find(',', p) + 1;
    return std::strtod(line.c_str() + p, nullptr);
}

std::vector<FrameState> States(const char* input, int frames) {
    const std::string path = Scratch("states");
    const Outcome run = Replay("--frames " + std::to_string(frames) + Match(input) + " --state " + path);
    EXPECT_EQ(run.status, 0) << run.errors;
    std::istringstream lines(Slurp(path));
    std::vector<FrameState> states;
    for (std::string line; std::getline(lines, line);) {
        FrameState s{static_cast<int>(Field(line, 0, "scene")), {}, {}, {}, {}, {}};
        size_t at = 0;
        for (int k = 0; k < 2; ++k, ++at) {
            at = line.find("\"health\"", at);
            s.health[k] = static_cast<int>(Field(line, at, "health"));
            s.rootX[k] = Field(line, at, "root");
            s.rootZ[k] = Field(line, at, "root", 2);
            s.currentMotion[k] = static_cast<int>(Field(line, at, "currentMotion"));
            s.ringOut[k] = static_cast<int>(Field(line, at, "ringOut"));
        }
        states.push_back(s);
    }
    return states;
}

// The first frame at or after `from` in that scene, or -1.
int FirstIn(const std::vector<FrameState>& states, int scene, int from) {
    for (size_t i = static_cast<size_t>(from); i < states.size(); ++i)
        if (states[i].scene == scene) return static_cast<int>(i);
    return -1;
}

TEST(Replay, ScriptedMatchesEndInTheWinnerAndTheTitleWithTheMatchReset) {
    const struct {
        const char* input;
        int frames, loser;
        bool ringOut;
    } matches[] = {{"ko.input", 1100, 1, false}, {"ringout.input", 600, 0, true}};
    for (const auto& match : matches) {
        SCOPED_TRACE(match.input);
        const std::vector<FrameState> states = States(match.input, match.frames);
        const int knockOut = FirstIn(states, 3, 0);
        ASSERT_GT(knockOut, 0);
        const FrameState& end = states[static_cast<size_t>(knockOut)];
        EXPECT_EQ(end.ringOut[match.loser], match.ringOut ? 1 : 0);
        EXPECT_LE(end.health[match.loser], 0);
        EXPECT_GT(end.health[1 - match.loser], 0);
        const int winner = FirstIn(states, 4, knockOut);
        const int title = FirstIn(states, 0, knockOut);
        EXPECT_EQ(winner - knockOut, 43);
        ASSERT_EQ(title - winner, 43);
        EXPECT_EQ(states[static_cast<size_t>(title) - 1].currentMotion[1 - match.loser], 5) << "the victory pose";
        const FrameState& reset = states[static_cast<size_t>(title)];
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(reset.health[k], 1000);
            EXPECT_EQ(reset.ringOut[k], 0);
            EXPECT_EQ(reset.rootX[k], k == 0 ? -324.0 : 124.0);
            EXPECT_EQ(reset.rootZ[k], -100.0);
        }
    }
}

TEST(Replay, TheSameInputGivesTheSameFrames) {
    const Outcome first = Replay("--frames 400 --hash" + Match("ko.input"));
    EXPECT_EQ(std::count(first.out.begin(), first.out.end(), '\n'), 400);
    EXPECT_EQ(first.out, Replay("--frames 400 --hash" + Match("ko.input")).out);
}

TEST(Replay, ThePoseViewerWritesTheFrontAndSideOfAKey) {
    const std::string dir = Scratch("pose");
    const Outcome run = Replay("--pose Slay:1 " + dir);
    EXPECT_EQ(run.status, 0) << run.errors;
    for (const char* name : {"/Slay-1-front.png", "/Slay-1-side.png"}) {
        EXPECT_GT(fs::exists(dir + name) ? fs::file_size(dir + name) : 0, 1000u) << name;
    }
    fs::remove_all(dir);
}

TEST(Replay, WhatItCannotFollowIsRefusedWithStatus2AndWhere) {
    const std::string input = Scratch("script") + ".input";
    const struct {
        const char* script;  // an input file, or for the pose viewer its request
        const char* said;
    } cases[] = {
        {"1-5 ENTER\n0 X\n", "input:2: bad frame range \"0\""},
        {"# a comment\n\n9-3 X\n", "input:3: bad frame range \"9-3\""},
        {"1-x X\n", "input:1: bad frame range"},
        {"1-5 ENTER\n7 PUNCH\n", "input:2: unknown key \"PUNCH\""},
        {"1-5 ENTER\n7 # X\n", "input:2: no key named"},
        {"Slay:3", "--pose"}, {"Slay:x", "--pose"}, {"Slay:", "--pose"}, {"Swing:0", "--pose"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const bool pose = std::string(c.said) == "--pose";
        if (!pose) std::ofstream(input) << c.script;
        const Outcome run = Replay(pose ? std::string("--pose ") + c.script + " " + Scratch("pose") : "--frames 5 --input " + input);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.errors.find(c.said), std::string::npos) << run.errors;
    }
    fs::remove(input);
    fs::remove_all(Scratch("pose"));
}

}  // namespace

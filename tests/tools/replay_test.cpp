// The replay tool as a user runs it: scripted matches with player 2 on the
// virtual gamepad, random play from a seed, the pose viewer, and the
// refusal of what it cannot follow.
#include <gtest/gtest.h>

#include <unistd.h>

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

std::string Match(const char* input) {
    return std::string(" --input ") + TESSALINE_SOURCE_DIR + "/tests/tools/matches/" + input;
}

// A number in a frame's state line: the frame's own (fighter -1) or a
// fighter's; in a list, the one after `skip` commas.
double Of(const std::string& line, int fighter, const std::string& name, int skip = 0) {
    size_t p = 0;
    for (int k = 0; k <= fighter && p != std::string::npos; ++k) p = line.find("\"health\"", p + 1);
    if (p != std::string::npos) p = line.find("\"" + name + "\":", p);
    if (p == std::string::npos) return -1e9;
    p += name.size() + 3 + (line[p + name.size() + 3] == '[');
    for (; skip > 0; --skip) p = line.find(',', p) + 1;
    return std::strtod(line.c_str() + p, nullptr);
}

TEST(Replay, ScriptedMatchesEndInTheWinnerAndTheTitleWithTheMatchReset) {
    const struct {
        const char* input;
        int frames, loser;
        bool ringOut;
    } matches[] = {{"ko.input", 1100, 1, false}, {"ringout.input", 600, 0, true}};
    for (const auto& match : matches) {
        SCOPED_TRACE(match.input);
        const std::string path = Scratch("states");
        const Outcome run = Replay("--frames " + std::to_string(match.frames) + Match(match.input) + " --state " + path);
        EXPECT_EQ(run.status, 0) << run.errors;
        std::istringstream text(Slurp(path));
        std::vector<std::string> frames;
        for (std::string line; std::getline(text, line);) frames.push_back(line);
        // The first frame at or after `from` in that scene.
        const auto firstIn = [&](int scene, size_t from) {
            while (from < frames.size() && Of(frames[from], -1, "scene") != scene) ++from;
            return from;
        };
        const size_t knockOut = firstIn(3, 0), winner = firstIn(4, knockOut), title = firstIn(0, knockOut);
        ASSERT_LT(title, frames.size());
        EXPECT_EQ(Of(frames[knockOut], match.loser, "ringOut"), match.ringOut ? 1 : 0);
        EXPECT_LE(Of(frames[knockOut], match.loser, "health"), 0);
        EXPECT_GT(Of(frames[knockOut], 1 - match.loser, "health"), 0);
        EXPECT_EQ(winner - knockOut, 43u);
        EXPECT_EQ(title - winner, 43u);
        EXPECT_EQ(Of(frames[title - 1], 1 - match.loser, "currentMotion"), 5) << "the victory pose";
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(Of(frames[title], k, "health"), 1000);
            EXPECT_EQ(Of(frames[title], k, "ringOut"), 0);
            EXPECT_EQ(Of(frames[title], k, "root"), k == 0 ? -324.0 : 124.0);
            EXPECT_EQ(Of(frames[title], k, "root", 2), -100.0);
        }
    }
}

// The same seed of random play gives the same frames, another seed another
// fight. (The same input file giving the same frames is what the frame
// hashes test stands on.)
TEST(Replay, ASeedOfRandomPlayIsOneFight) {
    const Outcome seeded = Replay("--frames 400 --hash --random 3");
    EXPECT_EQ(seeded.out, Replay("--frames 400 --hash --random 3").out);
    EXPECT_NE(seeded.out, Replay("--frames 400 --hash --random 4").out);
}

// Each gamepad name of the input file is the direction or button it says,
// and player 2 walks that way.
TEST(Replay, TheGamepadNamesMovePlayerTwoTheWayTheySay) {
    const std::string input = Scratch("pad") + ".input", path = Scratch("states");
    std::ofstream(input) << "1-5 ENTER\n150-169 JLEFT\n170-189 JUP\n190-209 JRIGHT\n210-229 JDOWN\n240 J1\n280 J0\n";
    const Outcome run = Replay("--frames 280 --input " + input + " --state " + path);
    ASSERT_EQ(run.status, 0) << run.errors;
    fs::remove(input);
    std::istringstream text(Slurp(path));
    std::vector<std::string> frames(1);
    for (std::string line; std::getline(text, line);) frames.push_back(line);
    ASSERT_EQ(frames.size(), 281u);
    const auto input2 = [&](int frame) {
        const std::string& line = frames[frame];
        const size_t p = line.find("\"inputState\"");
        return line.substr(p, line.find('}', p) - p);
    };
    EXPECT_EQ(input2(160), "\"inputState\":{\"directions\":2,\"buttons\":0");
    EXPECT_EQ(input2(180), "\"inputState\":{\"directions\":8,\"buttons\":0");
    EXPECT_EQ(input2(200), "\"inputState\":{\"directions\":1,\"buttons\":0");
    EXPECT_EQ(input2(220), "\"inputState\":{\"directions\":4,\"buttons\":0");
    EXPECT_EQ(input2(240), "\"inputState\":{\"directions\":0,\"buttons\":2");
    EXPECT_EQ(input2(280), "\"inputState\":{\"directions\":0,\"buttons\":1");
    EXPECT_EQ(Of(frames[169], 1, "root"), 124 - 20 * 8.0) << "left";
    EXPECT_EQ(Of(frames[189], 1, "root", 2), -100 + 20 * 8.0) << "up, into the screen";
    EXPECT_EQ(Of(frames[209], 1, "root"), 124.0) << "right";
    EXPECT_EQ(Of(frames[229], 1, "root", 2), -100.0) << "down";
}

// The hard computer against a player who only stands: a knock-out well
// inside the time, never a step off the stage of its own; and a seed is
// one fight, the same each time.
TEST(Replay, TheHardComputerKnocksOutAnIdlePlayerAndASeedIsOneFight) {
    const std::string path = Scratch("states");
    const Outcome run = Replay("--frames 900 --p1 script:idle --p2 cpu:3 --seed 11 --until-end --state " + path);
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.out.substr(0, 24), "knock-out winner 2 after") << run.out;
    std::istringstream text(Slurp(path));
    int frames = 0;
    for (std::string line; std::getline(text, line); ++frames) {
        ASSERT_EQ(Of(line, 1, "ringOut"), 0) << line;
        ASSERT_GT(Of(line, 1, "health"), 0) << line;
    }
    EXPECT_LT(frames, 900);
    const std::string fight = "--frames 300 --hash --p1 script:walk-swing --p2 cpu:2 --seed ";
    const Outcome seeded = Replay(fight + "5");
    EXPECT_EQ(seeded.out, Replay(fight + "5").out);
    EXPECT_NE(seeded.out, Replay(fight + "6").out);
}

TEST(Replay, ThePoseViewerWritesAKeyAndWhatCannotBeFollowedIsRefusedWithStatus2) {
    const std::string input = Scratch("script") + ".input", dir = Scratch("pose");
    const Outcome pose = Replay("--pose Slay:1 " + dir);
    EXPECT_EQ(pose.status, 0) << pose.errors;
    for (const char* name : {"/Slay-1-front.png", "/Slay-1-side.png"})
        EXPECT_GT(fs::exists(dir + name) ? fs::file_size(dir + name) : 0, 1000u) << name;
    const struct {
        const char* script;  // an input file, or the pose viewer's request
        const char* said;
    } cases[] = {
        {"1-5 ENTER\n0 X\n", "input:2: bad frame range \"0\""},
        {"# a comment\n\n9-3 X\n", "input:3: bad frame range \"9-3\""},
        {"1-x X\n", "input:1: bad frame range"},
        {"1-5 ENTER\n7 PUNCH\n", "input:2: unknown key \"PUNCH\""},
        {"1-5 ENTER\n7 # X\n", "input:2: no key named"},
        {"--pose Slay:3", "--pose"}, {"--pose Slay:x", "--pose"}, {"--pose Swing:0", "--pose"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const bool isPose = c.script[0] == '-';
        if (!isPose) std::ofstream(input) << c.script;
        const Outcome run = Replay(isPose ? c.script + (" " + dir) : "--frames 5 --input " + input);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.errors.find(c.said), std::string::npos) << run.errors;
    }
    EXPECT_EQ(Replay("--random 1" + Match("ko.input")).status, 2) << "two inputs named";
    for (const char* players : {"--p2 cpu:4", "--p2 robot", "--p1 pad", "--p1 script:dance", "--seed -1"}) {
        const Outcome run = Replay(std::string("--frames 5 ") + players);
        EXPECT_EQ(run.status, 2) << players;
        EXPECT_NE(run.errors.find("usage"), std::string::npos) << players;
    }
    const Outcome noPad = Replay("--frames 5 --p2 pad");
    EXPECT_EQ(noPad.status, 2);
    EXPECT_NE(noPad.errors.find("no gamepad"), std::string::npos) << noPad.errors;
    fs::remove(input);
    fs::remove_all(dir);
}

}  // namespace

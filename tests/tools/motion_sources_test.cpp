// The data maker refuses a motion source it cannot turn into keys the
// playback can follow, naming the file, the line and the reason.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct DataRun {
    int status;
    std::string errors;
};

// Makes the data from a copy of the game's sources with Walk.txt replaced.
DataRun MakeDataWithWalk(const std::string& walk) {
    const fs::path dir = fs::temp_directory_path() / ("tessaline-motions-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy(TESSALINE_ASSETS_DIR, dir / "assets", fs::copy_options::recursive);
    std::ofstream(dir / "assets" / "motions" / "Walk.txt") << walk;
    const std::string command = std::string(TESSALINE_DATA_TOOL) + " " + (dir / "data").string() + " --assets " +
                                (dir / "assets").string() + " 2> " + (dir / "errors.txt").string();
    DataRun run;
    run.status = std::system(command.c_str());
    std::stringstream errors;
    errors << std::ifstream(dir / "errors.txt").rdbuf();
    run.errors = errors.str();
    fs::remove_all(dir);
    return run;
}

TEST(MotionSources, TheGamesOwnSourcesCompile) {
    const DataRun run = MakeDataWithWalk(
        "key 0 duration 6 End\n"
        "    upperLeg1 0 34 0   # a comment\n"
        "key 1 duration 4\n"
        "    8 0 -26 0\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors.find("Walk.txt"), std::string::npos) << run.errors;
}

TEST(MotionSources, MalformedOrUnplayableSourcesAreRefusedWithFileLineAndReason) {
    const struct {
        const char* source;
        const char* expected;
    } cases[] = {
        {"key 0 duration 6 End\n  torso 0 600 0\nkey 1 duration 4\n", "Walk.txt:2: an angle"},
        {"key 0 duration 6 End\n  elbow 0 6 0\nkey 1 duration 4\n", "Walk.txt:2: unknown joint 'elbow'"},
        {"key 0 duration 6 End\n  torso 0 6\nkey 1 duration 4\n", "Walk.txt:2: a joint line"},
        {"key 0 duration 6 End\n  torso 0 6 0\n  torso 0 8 0\nkey 1 duration 4\n", "Walk.txt:3: joint torso"},
        {"  torso 0 6 0\nkey 0 duration 6 End\nkey 1 duration 4\n", "Walk.txt:1: a joint line before"},
        {"key 0 duration 1 End\nkey 1 duration 4\n", "Walk.txt:1: the duration"},
        {"key 0 duration 6 Loop End\nkey 1 duration 4\n", "Walk.txt:1: a key is either"},
        {"key 0 duration 6 End\nkey 2 duration 4\n", "Walk.txt:2: expected key 1"},
        {"key 0 duration 6 End\n", "Walk.txt:1: this motion has 2 keys"},
        {"key 0 duration 6\nkey 1 duration 4\n", "Walk.txt:2: the last key needs Loop"},
        {"key 0 duration 6\nkey 1 duration 4 End\n", "Walk.txt:2: End on the last key"},
        {"key 0 duration 6 End\nkey 1 duration 3\n", "Walk.txt:2: the key after an End"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        const DataRun run = MakeDataWithWalk(c.source);
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.errors.find(c.expected), std::string::npos) << run.errors;
    }
}

}  // namespace

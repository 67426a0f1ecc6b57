// The replay tool's pose viewer, run as a user runs it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct PoseRun {
    int status;
    std::string errors;
};

PoseRun RunPose(const std::string& motionAndKey, const fs::path& out) {
    const fs::path errors = out.string() + ".errors";
    const std::string command = std::string(TESSALINE_REPLAY) + " --data " + TESSALINE_DATA_DIR + " --pose " +
                                motionAndKey + " " + out.string() + " 2> " + errors.string();
    PoseRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::stringstream text;
    text << std::ifstream(errors).rdbuf();
    run.errors = text.str();
    return run;
}

TEST(PoseViewer, WritesTheFrontAndSideOfAKeyAndRefusesWhatIsNotOne) {
    const fs::path out = fs::temp_directory_path() / ("tessaline-pose-" + std::to_string(getpid()));
    fs::remove_all(out);
    PoseRun run = RunPose("Slay:1", out);
    if (run.errors.find("--pose") != std::string::npos && run.errors.find("unknown option") != std::string::npos) {
        GTEST_SKIP() << "the replay tool has no --pose option yet";
    }
    EXPECT_EQ(run.status, 0) << run.errors;
    for (const char* name : {"Slay-1-front.png", "Slay-1-side.png"}) {
        EXPECT_GT(fs::exists(out / name) ? fs::file_size(out / name) : 0, 1000u) << name;
    }
    for (const char* bad : {"Slay:3", "Slay:x", "Slay:", "Swing:0"}) {
        run = RunPose(bad, out);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.errors.find("--pose"), std::string::npos) << bad << ": " << run.errors;
    }
    fs::remove_all(out);
}

}  // namespace

// The soak: many matches of random play by both players, from a seed, in
// one run of the replay tool. The match cycle must keep turning, title,
// battle, knock-out, winner and title again, with matches ending both by
// knock-out and by ring-out, and nothing reported on the way.
// `make soak FRAMES=N SEED=S` runs it for longer (TESSALINE_SOAK_FRAMES,
// TESSALINE_SOAK_SEED).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "hardening/replay_run.h"

namespace hardening {
namespace {

long Setting(const char* name, long otherwise) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : otherwise;
}

#ifdef TESSALINE_SANITIZE
constexpr long DefaultFrames = 20000;
#else
constexpr long DefaultFrames = 5000;
#endif
// A match with both players at the keys ends well within this; a stretch
// this long without one means the cycle has stuck.
constexpr long LongestMatch = 5000;

TEST(Soak, RandomPlayKeepsTheMatchCycleTurning) {
    const long frames = Setting("TESSALINE_SOAK_FRAMES", DefaultFrames);
    const long seed = Setting("TESSALINE_SOAK_SEED", 1);
    const fs::path scratch = fs::temp_directory_path() / ("tessaline-soak-" + std::to_string(getpid()));
    fs::create_directories(scratch);
    const auto start = std::chrono::steady_clock::now();
    const ReplayRun run = RunReplay(TESSALINE_DATA_DIR,
                                    "--frames " + std::to_string(frames) + " --random " + std::to_string(seed), scratch);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fs::remove_all(scratch);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(Unexpected(run.errors), "");
    ASSERT_EQ(run.frames.size(), static_cast<size_t>(frames));

    // Each scene leads only to the next of the cycle: title 0, battle 2,
    // knock-out 3, winner 4.
    const auto next = [](long scene) { return scene == 0 ? 2 : scene == 4 ? 0 : scene + 1; };
    long scene = 0, lastEnd = 0, longest = 0, matches = 0, knockOuts = 0, ringOuts = 0;
    for (const std::string& line : run.frames) {
        const long now = FrameField(line, "scene"), frame = FrameField(line, "frame");
        if (now == scene) continue;
        ASSERT_EQ(now, next(scene)) << "frame " << frame;
        if (now == 3) ++(line.find("\"ringOut\":1") != std::string::npos ? ringOuts : knockOuts);
        if (now == 0) {
            ++matches;
            longest = std::max(longest, frame - lastEnd);
            lastEnd = frame;
        }
        scene = now;
    }
    longest = std::max(longest, frames - lastEnd);
    std::printf("soak: seed %ld, %ld frames in %.1f s: %ld matches played out (%ld knock-outs, %ld ring-outs), "
                "at most %ld frames from one to the next\n",
                seed, frames, seconds, matches, knockOuts, ringOuts, longest);
    EXPECT_LE(longest, LongestMatch) << "the match cycle stood still";
    if (frames >= 20000) {
        EXPECT_GT(knockOuts, 0);
        EXPECT_GT(ringOuts, 0);
    }
}

}  // namespace
}  // namespace hardening

// The soak: many matches in one run of the replay tool, by random play from
// a seed, or by two computers as in the demo. The match cycle must keep
// turning, title, battle, knock-out, winner and title again, with matches
// ending both by knock-out and by ring-out, every frame's health, roots,
// scenes and motion numbers sound, and nothing reported on the way.
// `make soak FRAMES=N SEED=S` runs the random play for longer, `make soak
// CPU=1 FRAMES=N` the computers (TESSALINE_SOAK_FRAMES, TESSALINE_SOAK_SEED).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "combat/movement.h"
#include "figure/motion_file.h"
#include "hardening/replay_run.h"

namespace hardening {
namespace {

long Setting(const char* name, long otherwise) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : otherwise;
}

#ifdef TESSALINE_SANITIZE
constexpr long DefaultFrames = 20000;
constexpr long DefaultComputerFrames = 50000;
#else
constexpr long DefaultFrames = 5000;
constexpr long DefaultComputerFrames = 10000;
#endif
// A match with both players at the keys ends well within this; a stretch
// this long without one means the cycle has stuck.
constexpr long LongestMatch = 5000;
// Two computers decide a fight sooner: a knock-out or a ring-out at least
// this often.
constexpr long LongestWithoutResult = 3000;

// The match cycle as the state report tells it, a frame at a time. Each
// scene leads only to the next of the cycle: title 0, battle 2, knock-out
// 3, winner 4.
struct Cycle {
    long scene = 0, frame = 0, lastEnd = 0, longest = 0, lastResult = 0, longestWithoutResult = 0;
    long matches = 0, knockOuts = 0, ringOuts = 0;
    std::string fault;

    void Step(const std::string& line) {
        const long now = FrameField(line, "scene");
        frame = FrameField(line, "frame");
        if (now == scene || !fault.empty()) return;
        const long next = scene == 0 ? 2 : scene == 4 ? 0 : scene + 1;
        if (now != next) fault = "frame " + std::to_string(frame) + ": scene " + std::to_string(now);
        if (now == 3) {
            ++(line.find("\"ringOut\":1") != std::string::npos ? ringOuts : knockOuts);
            longestWithoutResult = std::max(longestWithoutResult, frame - lastResult);
            lastResult = frame;
        }
        if (now == 0) {
            ++matches;
            longest = std::max(longest, frame - lastEnd);
            lastEnd = frame;
        }
        scene = now;
    }
    void Finish() {
        longest = std::max(longest, frame - lastEnd);
        longestWithoutResult = std::max(longestWithoutResult, frame - lastResult);
    }
    void Print(const char* what, long seed, double seconds) const {
        std::printf("soak (%s): seed %ld, %ld frames in %.1f s: %ld matches played out (%ld knock-outs, %ld "
                    "ring-outs), at most %ld frames from one to the next\n",
                    what, seed, frame, seconds, matches, knockOuts, ringOuts, longest);
    }
};

// A fighter's number (the `index`th of a list) in a state line; NaN when
// it is not a finite number (the report writes null for those).
double FighterField(const std::string& line, int fighter, const std::string& name, int index = 0) {
    size_t p = 0;
    for (int k = 0; k <= fighter && p != std::string::npos; ++k) p = line.find("{\"health\"", p + 1);
    if (p != std::string::npos) p = line.find("\"" + name + "\":", p);
    if (p == std::string::npos) return NAN;
    p += name.size() + 3;
    if (line[p] == '[') ++p;
    for (; index > 0; --index) p = line.find(',', p) + 1;
    char* end = nullptr;
    const double v = std::strtod(line.c_str() + p, &end);
    return end == line.c_str() + p ? NAN : v;
}

// What must hold of every frame, or why it does not.
std::string Broken(const std::string& line) {
    const long scene = FrameField(line, "scene");
    if (scene < 0 || scene > 4) return "scene out of range";
    for (int k = 0; k < 2; ++k) {
        const double health = FighterField(line, k, "health"), full = FighterField(line, k, "fullHealth");
        // The fight ends the frame a fighter runs out of health: on the
        // title and in a fight, everyone has some left.
        if (!(health <= full && health > ((scene == 0 || scene == 2) ? 0 : -full))) return "health";
        const Vec3 root = {FighterField(line, k, "root", 0), FighterField(line, k, "root", 1),
                           FighterField(line, k, "root", 2)};
        if (!std::isfinite(root.x) || !std::isfinite(root.y) || !std::isfinite(root.z)) return "root not finite";
        if (EdgeDistance(root) <= 0.0 && FighterField(line, k, "ringOut") != 1) return "off the stage, not rung out";
        const double motion = FighterField(line, k, "currentMotion"), key = FighterField(line, k, "currentKey");
        if (!(motion >= 0 && motion < MotionCount)) return "motion number";
        if (!(key >= 0 && key < motionFiles[static_cast<int>(motion)].keys)) return "key number";
        const double next = FighterField(line, k, "nextMotion");
        if (!(next >= 0 && next < MotionCount)) return "next motion number";
    }
    return "";
}

// Plays `args` from the seed for the frames asked, every frame checked as
// the tool writes it; the match cycle it went through.
Cycle Play(const char* what, const std::string& args, long defaultFrames) {
    const long frames = Setting("TESSALINE_SOAK_FRAMES", defaultFrames);
    const long seed = Setting("TESSALINE_SOAK_SEED", 1);
    const fs::path scratch = fs::temp_directory_path() / ("tessaline-soak-" + std::to_string(getpid()));
    fs::create_directories(scratch);
    const auto start = std::chrono::steady_clock::now();
    Cycle cycle;
    std::string broken;
    long lines = 0;
    const ReplayRun run = StreamReplay(TESSALINE_DATA_DIR,
                                       "--frames " + std::to_string(frames) + " " + args + std::to_string(seed),
                                       scratch, [&](const std::string& line) {
                                           ++lines;
                                           cycle.Step(line);
                                           if (broken.empty() && !(broken = Broken(line)).empty())
                                               broken += " at " + line;
                                       });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fs::remove_all(scratch);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(Unexpected(run.errors), "");
    EXPECT_EQ(lines, frames);
    EXPECT_EQ(broken, "");
    cycle.Finish();
    EXPECT_EQ(cycle.fault, "");
    cycle.Print(what, seed, seconds);
    return cycle;
}

TEST(Soak, RandomPlayKeepsTheMatchCycleTurning) {
    const Cycle cycle = Play("random play", "--random ", DefaultFrames);
    EXPECT_LE(cycle.longest, LongestMatch) << "the match cycle stood still";
    if (cycle.frame >= 20000) {
        EXPECT_GT(cycle.knockOuts, 0);
        EXPECT_GT(cycle.ringOuts, 0);
    }
}

TEST(Soak, TwoComputersKeepTheMatchCycleTurning) {
    const Cycle cycle = Play("two computers", "--demo --seed ", DefaultComputerFrames);
    EXPECT_LE(cycle.longestWithoutResult, LongestWithoutResult) << "the fights stopped ending";
}

}  // namespace
}  // namespace hardening

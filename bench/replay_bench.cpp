// The scripted 3000-frame match (bench/match.input, no PNG, no state) run
// by the replay tool, weighed against the floor: the least pixel work a
// frame needs (a clear and a full-screen blend) in C at gcc -O3. The two
// are run by turns in this one benchmark, so both see the same machine,
// and the least time of each is kept: "ratio" is what a frame of the game
// costs in floors.
//
// Both are timed as wall-clock of the whole process, start to end. The
// replay's own start-up, reading the game data, is part of its run; the
// floor is timed the same way, not by the seconds it prints (which leave
// out its start), so that both carry the same cost of starting a program.
// The floor's own seconds are reported beside it as floor_own_s.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

constexpr int Frames = 3000;
constexpr int Rounds = 5;

// Another build's replay tool and data can be weighed in the same way, for
// a before and after: TESSALINE_BENCH_REPLAY and TESSALINE_BENCH_DATA.
std::string FromEnvironment(const char* name, const char* otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != 0 ? value : otherwise;
}

const std::vector<std::string> ReplayCommand = {FromEnvironment("TESSALINE_BENCH_REPLAY", TESSALINE_REPLAY),
                                                "--data",
                                                FromEnvironment("TESSALINE_BENCH_DATA", TESSALINE_DATA_DIR),
                                                "--frames",
                                                std::to_string(Frames),
                                                "--input",
                                                TESSALINE_BENCH_DIR "/match.input"};

// The least time of each over the rounds, or the reason there is none.
struct Best {
    double replay = std::numeric_limits<double>::infinity();
    double floor = std::numeric_limits<double>::infinity();
    double floorOwn = std::numeric_limits<double>::infinity();
    const char* failure = nullptr;
};

Best RunRounds() {
    Best best;
    for (int round = 0; round < Rounds; ++round) {
#ifdef TESSALINE_FLOOR
        std::string printed;
        const std::optional<double> floor = bench::TimedRun({TESSALINE_FLOOR, std::to_string(Frames)}, &printed);
        const std::optional<double> floorOwn = bench::FloorSeconds(printed);
        if (!floor || !floorOwn) return {.failure = "the floor failed or did not print SECONDS CHECKBIT"};
        best.floor = std::min(best.floor, *floor);
        best.floorOwn = std::min(best.floorOwn, *floorOwn);
#endif
        const std::optional<double> replay = bench::TimedRun(ReplayCommand);
        if (!replay) return {.failure = "the replay tool failed"};
        best.replay = std::min(best.replay, *replay);
    }
    return best;
}

void BM_ReplayAgainstFloor(benchmark::State& state) {
    Best best;
    for (auto _ : state) {
        best = RunRounds();
        if (best.failure != nullptr) {
            state.SkipWithError(best.failure);
            break;
        }
        state.SetIterationTime(best.replay);
    }
    if (best.failure != nullptr) return;
    state.counters["replay_s"] = best.replay;
    state.counters["frames_per_second"] = Frames / best.replay;
#ifdef TESSALINE_FLOOR
    state.counters["floor_s"] = best.floor;
    state.counters["floor_own_s"] = best.floorOwn;
    state.counters["ratio"] = best.replay / best.floor;
#else
    state.SetLabel("no floor: ../shared/bench/floor.c was missing when the build was configured");
#endif
}
// One iteration holds all the rounds; its time is the best replay.
BENCHMARK(BM_ReplayAgainstFloor)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

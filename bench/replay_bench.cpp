// A timed replay: a scripted 3000-frame match run by the replay tool
// without PNG output. Its time per frame set against one fill of the back
// buffer (BM_FillSurface, same run) gives the cost of an average frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int Frames = 3000;

void BM_ReplayMatch(benchmark::State& state) {
    const std::string command = std::string("\"") + TESSALINE_REPLAY + "\" --data \"" + TESSALINE_DATA_DIR +
                                "\" --frames " + std::to_string(Frames) + " --input \"" + TESSALINE_BENCH_DIR +
                                "/match.input\" > /dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("the replay tool failed");
            break;
        }
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(Frames), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["us_per_frame"] = benchmark::Counter(
        static_cast<double>(Frames), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}
BENCHMARK(BM_ReplayMatch)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

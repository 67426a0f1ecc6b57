// What the benchmarks share: the wall-clock time of a whole program run,
// and the pixel rate every drawing benchmark reports.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// Runs the program (argv[0] is its path) and gives the seconds from just
// before it starts to just after it ends, or nothing if it could not start
// or did not end with status 0. What it prints goes into `output` when one
// is given and is thrown away otherwise; what it says on stderr is shown.
std::optional<double> TimedRun(const std::vector<std::string>& argv, std::string* output = nullptr);

// The seconds the floor prints first ("SECONDS CHECKBIT"), or nothing if
// the line is not that.
std::optional<double> FloorSeconds(const std::string& output);

// Reports pixels_per_ns: pixelsPerIteration times the iterations over the
// benchmark's CPU time (the library's rate counters divide by it), so the
// figure is items_per_second / 1e9 without the other programs on the
// machine in it.
void ReportPixelRate(benchmark::State& state, int64_t pixelsPerIteration);

// How many pixels one call of draw writes into a width x height buffer:
// the buffer starts as a value no drawing routine writes (the high byte of
// a pixel is never set) and the pixels that changed are counted.
template <class Draw>
int64_t PixelsWritten(int width, int height, Draw draw) {
    constexpr uint32_t Untouched = 0xFF000000u;
    std::vector<uint32_t> buffer(static_cast<size_t>(width) * static_cast<size_t>(height), Untouched);
    draw(buffer.data());
    int64_t written = 0;
    for (uint32_t pixel : buffer) written += pixel != Untouched;
    return written;
}

}  // namespace bench

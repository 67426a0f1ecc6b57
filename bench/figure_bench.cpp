// The figure pipeline: the transform of the floor and the thirty joints,
// the draw pass in each draw mode, and one whole figure update and draw
// weighed against one fill of the back buffer, both timed in the same loop.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "combat/movement.h"
#include "display/surface.h"
#include "figure/passes.h"
#include "figure/transform.h"
#include "raster/draw.h"
#include "raster/shade.h"

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
constexpr uint32_t Background = 0x808080;

// The figures as a match starts them, standing, shadows on, in the game's
// start modes, drawn into a frame of their own.
std::vector<uint32_t>& Stage() {
    static std::vector<uint32_t> frame = [] {
        std::error_code ec;
        std::filesystem::current_path(TESSALINE_DATA_DIR, ec);
        EnsureSineTable();
        LightVector = {0.0, 3000.0, 0.0};
        BuildFigures();
        for (int base : {0, 15}) joints[base].offset.y = StandingHeight;
        for (Joint& joint : joints) joint.flags |= ShadowOn;
        DrawMode = 0;
        ShadeMode = 1;
        return std::vector<uint32_t>(static_cast<size_t>(Width) * Height, Background);
    }();
    frameBits = frame.data();
    framePitch = Width;
    return frame;
}

// A plain fill of the back buffer, as each frame clears it.
void ClearFrame(std::vector<uint32_t>& frame) {
    for (uint32_t& pixel : frame) pixel = Background;
    benchmark::ClobberMemory();
}

void BenchTransformJoints(benchmark::State& state) {
    Stage();
    for (auto _ : state) {
        UpdateFigures();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (JointCount + 1));
}

void BenchDrawFigures(benchmark::State& state) {
    std::vector<uint32_t>& frame = Stage();
    DrawMode = static_cast<uint16_t>(state.range(0));
    UpdateFigures();
    for (auto _ : state) {
        DrawFigures();
        benchmark::ClobberMemory();
    }
    DrawMode = 0;
    benchmark::DoNotOptimize(frame.data());
}

void BenchFillBackBuffer(benchmark::State& state) {
    std::vector<uint32_t>& frame = Stage();
    for (auto _ : state) ClearFrame(frame);
    state.SetItemsProcessed(state.iterations() * Width * Height);
}

// Each iteration: one fill, then one figure update and draw, timed apart.
// "ratio" is the figures' time over the fill's.
void BenchFrameAgainstFill(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    std::vector<uint32_t>& frame = Stage();
    DrawMode = static_cast<uint16_t>(state.range(0));
    Clock::duration fill{}, figures{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ClearFrame(frame);
        const auto t1 = Clock::now();
        UpdateFigures();
        DrawFigures();
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        fill += t1 - t0;
        figures += t2 - t1;
    }
    DrawMode = 0;
    const double n = static_cast<double>(state.iterations());
    const double fillNs = std::chrono::duration<double, std::nano>(fill).count() / n;
    const double figuresNs = std::chrono::duration<double, std::nano>(figures).count() / n;
    state.counters["fill_ns"] = fillNs;
    state.counters["figures_ns"] = figuresNs;
    state.counters["ratio"] = figuresNs / fillNs;
}

}  // namespace

BENCHMARK(BenchTransformJoints);
BENCHMARK(BenchDrawFigures)->DenseRange(0, 3);
BENCHMARK(BenchFillBackBuffer);
BENCHMARK(BenchFrameAgainstFill)->DenseRange(0, 3);

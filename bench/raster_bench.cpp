// The triangle fillers on a figure-sized triangle and on one that covers
// most of the screen, counted in pixels written.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/fill.h"

namespace {

// About the size of one face of a forearm on screen.
constexpr ScreenTriangle SmallTriangle = {150, 100, 162, 104, 153, 113};
// Wider and taller than the screen, so it is clipped on three sides.
constexpr ScreenTriangle LargeTriangle = {-40, -30, 360, 20, 100, 300};
const double Intensities[3] = {0.25, 1.0, 0.625};

int64_t PixelsOf(const ScreenTriangle& t) {
    std::vector<uint32_t> frame(ScreenWidth * ScreenHeight, 0);
    FillTriangle(frame.data(), ScreenWidth, t, 1);
    return std::count(frame.begin(), frame.end(), 1u);
}

template <bool Smooth>
void BenchFill(benchmark::State& state, const ScreenTriangle& t) {
    std::vector<uint32_t> frame(ScreenWidth * ScreenHeight, 0);
    for (auto _ : state) {
        if constexpr (Smooth) {
            FillGouraudTriangle(frame.data(), ScreenWidth, Intensities, t, 0x00C08040);
        } else {
            FillTriangle(frame.data(), ScreenWidth, t, 0x00C08040);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * PixelsOf(t));
}

void BenchFillTriangle(benchmark::State& state, const ScreenTriangle& t) { BenchFill<false>(state, t); }
void BenchFillGouraudTriangle(benchmark::State& state, const ScreenTriangle& t) { BenchFill<true>(state, t); }

}  // namespace

BENCHMARK_CAPTURE(BenchFillTriangle, Small, SmallTriangle);
BENCHMARK_CAPTURE(BenchFillTriangle, Large, LargeTriangle);
BENCHMARK_CAPTURE(BenchFillGouraudTriangle, Small, SmallTriangle);
BENCHMARK_CAPTURE(BenchFillGouraudTriangle, Large, LargeTriangle);

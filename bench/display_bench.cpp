// The 2D operations that run over the whole back buffer every frame: the
// fill, and the blend of the intro and the fades.
#include <benchmark/benchmark.h>

#include <vector>

#include "display/surface.h"

namespace {

struct Screen {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(320 * 240, 0x336699u);
    Surface surface{320, 240, 320, pixels.data(), 0, MemoryKind::System, false, 0};
};

void BM_FillSurface(benchmark::State& state) {
    Screen screen;
    uint32_t colour = 0;
    for (auto _ : state) {
        FillSurface(&screen.surface, ++colour);
        benchmark::DoNotOptimize(screen.pixels.data());
    }
}
BENCHMARK(BM_FillSurface);

void BM_BlendSurface(benchmark::State& state) {
    Screen to, from;
    for (auto _ : state) {
        BlendSurface(&to.surface, 0, 0, 320, 240, &from.surface, 0, 0, 160);
        benchmark::DoNotOptimize(to.pixels.data());
    }
}
BENCHMARK(BM_BlendSurface);

}  // namespace

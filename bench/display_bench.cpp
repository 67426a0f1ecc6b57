// The 2D operations the scenes lay over the figures, in pixels a
// nanosecond: the clear and the blend of the intro and the fades over the
// whole back buffer, and the fast copies: a sprite, with and without its
// colour key, and a whole screen.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_support.h"
#include "display/surface.h"

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
constexpr int SpriteSize = 64;
constexpr uint32_t Key = 0xFF00FF;

// A surface in memory of its own, every pixel the given colour.
struct Picture {
    std::vector<uint32_t> pixels;
    Surface surface;
    Picture(int width, int height, uint32_t colour, uint32_t colourKey = 0)
        : pixels(static_cast<size_t>(width) * static_cast<size_t>(height), colour),
          surface{width, height, width, pixels.data(), colourKey, MemoryKind::System, false, 0} {}
};

// A round sprite: the corners outside the circle are the key colour, about
// a fifth of its pixels, as the game's bitmaps leave their edges.
Picture Sprite() {
    Picture sprite(SpriteSize, SpriteSize, 0x336699u, Key);
    constexpr int Centre = SpriteSize / 2;
    for (int y = 0; y < SpriteSize; ++y)
        for (int x = 0; x < SpriteSize; ++x)
            if ((x - Centre) * (x - Centre) + (y - Centre) * (y - Centre) > Centre * Centre)
                sprite.pixels[static_cast<size_t>(y) * SpriteSize + static_cast<size_t>(x)] = Key;
    return sprite;
}

void BM_FillSurface(benchmark::State& state) {
    Picture screen(Width, Height, 0x336699u);
    uint32_t colour = 0;
    for (auto _ : state) {
        FillSurface(&screen.surface, ++colour);
        benchmark::DoNotOptimize(screen.pixels.data());
    }
    bench::ReportPixelRate(state, Width * Height);
}
BENCHMARK(BM_FillSurface);

void BM_BlendSurface(benchmark::State& state) {
    Picture to(Width, Height, 0x336699u), from(Width, Height, 0xC08040u);
    for (auto _ : state) {
        BlendSurface(&to.surface, 0, 0, Width, Height, &from.surface, 0, 0, 160);
        benchmark::DoNotOptimize(to.pixels.data());
    }
    bench::ReportPixelRate(state, Width * Height);
}
BENCHMARK(BM_BlendSurface);

// The rate of a copy counts every pixel of the box copied, key pixels too:
// each is read and weighed against the key whether it is written or not.
void BlitBench(benchmark::State& state, Picture& source, int size, uint32_t flags) {
    Picture screen(Width, Height, 0x808080u);
    const int x = (Width - size) / 2, y = (Height - source.surface.height) / 2;
    for (auto _ : state) {
        BlitClipped(&screen.surface, x, y, size, source.surface.height, &source.surface, 0, 0, flags);
        benchmark::DoNotOptimize(screen.pixels.data());
    }
    bench::ReportPixelRate(state, int64_t{size} * source.surface.height);
}

void BM_BlitSprite(benchmark::State& state) {
    Picture sprite = Sprite();
    BlitBench(state, sprite, SpriteSize, BLTFAST_NOCOLORKEY);
}
BENCHMARK(BM_BlitSprite);

void BM_BlitSpriteKeyed(benchmark::State& state) {
    Picture sprite = Sprite();
    BlitBench(state, sprite, SpriteSize, BLTFAST_SRCCOLORKEY);
}
BENCHMARK(BM_BlitSpriteKeyed);

void BM_BlitScreen(benchmark::State& state) {
    Picture picture(Width, Height, 0xC08040u);
    BlitBench(state, picture, Width, BLTFAST_NOCOLORKEY);
}
BENCHMARK(BM_BlitScreen);

}  // namespace

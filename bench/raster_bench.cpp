// The rasterizer's fillers in pixels a nanosecond: the triangle fillers on
// a figure-sized triangle and on one that covers most of the screen, and
// the span fillers they are made of on spans of 8, 64 and 320 pixels.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_support.h"
#include "raster/fill.h"

namespace {

constexpr uint32_t Colour = 0x00C08040;

// About the size of one face of a forearm on screen.
constexpr ScreenTriangle SmallTriangle = {150, 100, 162, 104, 153, 113};
// Wider and taller than the screen, so it is clipped on three sides.
constexpr ScreenTriangle LargeTriangle = {-40, -30, 360, 20, 100, 300};
const double Intensities[3] = {0.25, 1.0, 0.625};

// A span of the given length in the middle of a row (the whole row at 320),
// darker at its left end than at its right, as a lit face shades it.
struct Span {
    int32_t xa, xb;
    double ia = 0.25, ib = 1.0;
    explicit Span(int64_t length)
        : xa(static_cast<int32_t>((ScreenWidth - length) / 2)), xb(static_cast<int32_t>(xa + length - 1)) {}
};

// Each benchmark draws with draw(pixels) and counts the pixels one call
// writes, so the rate holds whatever the filler becomes.
template <class Draw>
void BenchDraw(benchmark::State& state, Draw draw) {
    std::vector<uint32_t> frame(ScreenWidth * ScreenHeight, 0);
    for (auto _ : state) {
        draw(frame.data());
        benchmark::ClobberMemory();
    }
    bench::ReportPixelRate(state, bench::PixelsWritten(ScreenWidth, ScreenHeight, draw));
}

void BenchFillTriangle(benchmark::State& state, const ScreenTriangle& t) {
    BenchDraw(state, [&t](uint32_t* pixels) { FillTriangle(pixels, ScreenWidth, t, Colour); });
}

void BenchFillGouraudTriangle(benchmark::State& state, const ScreenTriangle& t) {
    BenchDraw(state, [&t](uint32_t* pixels) { FillGouraudTriangle(pixels, ScreenWidth, Intensities, t, Colour); });
}

void BenchFillSpan(benchmark::State& state) {
    const Span span(state.range(0));
    BenchDraw(state, [&span](uint32_t* row) { FillSpan(row, span.xa, span.xb, Colour); });
}

void BenchFillGouraudSpan(benchmark::State& state) {
    const Span span(state.range(0));
    BenchDraw(state,
              [&span](uint32_t* row) { FillGouraudSpan(row, span.xa, span.xb, span.ia, span.ib, Colour); });
}

}  // namespace

BENCHMARK_CAPTURE(BenchFillTriangle, Small, SmallTriangle);
BENCHMARK_CAPTURE(BenchFillTriangle, Large, LargeTriangle);
BENCHMARK_CAPTURE(BenchFillGouraudTriangle, Small, SmallTriangle);
BENCHMARK_CAPTURE(BenchFillGouraudTriangle, Large, LargeTriangle);
BENCHMARK(BenchFillSpan)->Arg(8)->Arg(64)->Arg(320);
BENCHMARK(BenchFillGouraudSpan)->Arg(8)->Arg(64)->Arg(320);

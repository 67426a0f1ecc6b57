// The triangle fillers: sort the corners by row, walk the two edges down
// the screen in floating point and hand each row to a span writer. The
// flat and the smooth filler walk the same way; the smooth one carries an
// intensity along each edge as well.
#include "raster/fill.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "figure/math.h"
#include "raster/pixel_runs.h"

namespace {

// Past this size an intensity could, after a span's worth of additions,
// make a channel times intensity leave the 32-bit range. With both ends
// within it, every intensity the walk reaches is within three times it
// (the step is at most twice the bound over the pixel count, and the
// rounding of 320 additions is far below the margin), so 255 times that
// stays under 2^31.
constexpr double SafeIntensity = 1.0e6;

bool SafeEnds(double ia, double ib) { return std::fabs(ia) <= SafeIntensity && std::fabs(ib) <= SafeIntensity; }

uint32_t SmoothPixel(double c0, double c1, double c2, double i) {
    return (static_cast<uint32_t>(TruncToInt(c0 * i)) & 0xFF) << 16 |
           (static_cast<uint32_t>(TruncToInt(c1 * i)) & 0xFF) << 8 |
           (static_cast<uint32_t>(TruncToInt(c2 * i)) & 0xFF);
}

uint32_t SmoothPixelInRange(double c0, double c1, double c2, double i) {
    return (static_cast<uint32_t>(TruncToIntInRange(c0 * i)) & 0xFF) << 16 |
           (static_cast<uint32_t>(TruncToIntInRange(c1 * i)) & 0xFF) << 8 |
           (static_cast<uint32_t>(TruncToIntInRange(c2 * i)) & 0xFF);
}

// A smooth span cut to the row: its first pixel, its length, its first
// intensity and its step. Empty when nothing of it is on the row.
struct SmoothSpan {
    uint32_t* first;
    int32_t count;
    double intensity, step;
};

SmoothSpan CutSmoothSpan(uint32_t* rowStart, int32_t xa, int32_t xb, double ia, double ib) {
    if (xb < 0 || xa > LastColumn) return {nullptr, 0, 0.0, 0.0};
    xa = std::max(xa, 0);
    xb = std::min(xb, LastColumn);
    const int32_t n = xb - xa + 1;
    if (n <= 0) return {nullptr, 0, 0.0, 0.0};
    return {rowStart + xa, n, ia, (ib - ia) / n};
}

struct Channels {
    double c0, c1, c2;
};

Channels ChannelsOf(uint32_t colour) {
    return {static_cast<double>(colour & 0xFF), static_cast<double>((colour >> 8) & 0xFF),
            static_cast<double>((colour >> 16) & 0xFF)};
}

// Writes the span from pixel `from` on, its intensity already walked to i.
void FinishSmoothSpan(const SmoothSpan& span, int32_t from, double i, const Channels& c, bool safe) {
    if (safe) {
        for (int32_t k = from; k < span.count; ++k) {
            span.first[k] = SmoothPixelInRange(c.c0, c.c1, c.c2, i);
            i += span.step;
        }
        return;
    }
    for (int32_t k = from; k < span.count; ++k) {
        span.first[k] = SmoothPixel(c.c0, c.c1, c.c2, i);
        i += span.step;
    }
}

bool Safe(const SmoothSpan& span, double ia, double ib) { return span.count > 0 && SafeEnds(ia, ib); }

// Two smooth spans on different rows of one triangle, side by side: each
// keeps its own running intensity, added to step by step exactly as when
// it is filled alone, but the two sums sit in the two lanes of one
// register, so each waits on its own addition only half as often.
void FillGouraudSpanPair(const SmoothSpan& a, double aEnd, const SmoothSpan& b, double bEnd, uint32_t colour) {
    const Channels c = ChannelsOf(colour);
    const bool safeA = Safe(a, a.intensity, aEnd), safeB = Safe(b, b.intensity, bEnd);
    int32_t k = 0;
    double ia = a.intensity, ib = b.intensity;
#if defined(__SSE2__)
    if (safeA && safeB) {
        const int32_t both = std::min(a.count, b.count);
        __m128d i = _mm_set_pd(ib, ia);
        const __m128d step = _mm_set_pd(b.step, a.step);
        const __m128d c0 = _mm_set1_pd(c.c0), c1 = _mm_set1_pd(c.c1), c2 = _mm_set1_pd(c.c2);
        const __m128i low = _mm_set1_epi32(0xFF);
        for (; k < both; ++k) {
            const __m128i r = _mm_and_si128(_mm_cvttpd_epi32(_mm_mul_pd(c0, i)), low);
            const __m128i g = _mm_and_si128(_mm_cvttpd_epi32(_mm_mul_pd(c1, i)), low);
            const __m128i bl = _mm_and_si128(_mm_cvttpd_epi32(_mm_mul_pd(c2, i)), low);
            const __m128i pixels = _mm_or_si128(_mm_or_si128(_mm_slli_epi32(r, 16), _mm_slli_epi32(g, 8)), bl);
            a.first[k] = static_cast<uint32_t>(_mm_cvtsi128_si32(pixels));
            b.first[k] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(pixels, 1)));
            i = _mm_add_pd(i, step);
        }
        ia = _mm_cvtsd_f64(i);
        ib = _mm_cvtsd_f64(_mm_unpackhi_pd(i, i));
    }
#endif
    if (a.count > 0) FinishSmoothSpan(a, k, ia, c, safeA);
    if (b.count > 0) FinishSmoothSpan(b, k, ib, c, safeB);
}

// The rows of a smooth triangle wait here in twos, to be filled as pairs.
// No two rows of a triangle share a pixel, so the order they are filled
// in makes no difference; a triangle's rows are all written before the
// next triangle is drawn.
struct SpanQueue {
    bool waiting = false;
    SmoothSpan span{};
    double end = 0.0;
    uint32_t colour = 0;

    void Add(uint32_t* row, int32_t xa, int32_t xb, double ia, double ib) {
        const SmoothSpan next = CutSmoothSpan(row, xa, xb, ia, ib);
        if (next.count == 0) return;
        if (!waiting) {
            span = next;
            end = ib;
            waiting = true;
            return;
        }
        FillGouraudSpanPair(span, end, next, ib, colour);
        waiting = false;
    }
    void Flush() {
        if (waiting) FinishSmoothSpan(span, 0, span.intensity, ChannelsOf(colour), Safe(span, span.intensity, end));
        waiting = false;
    }
};


struct Corner {
    int32_t x, y;
    double intensity;
};

// One side of the triangle while it is walked: where it is on the current
// row and how far it moves per row above and below the middle corner.
struct Edge {
    double x, intensity;
    double upperStep, upperIntensityStep;
    double lowerStep, lowerIntensityStep;
};

void CompareExchangeRows(Corner& a, Corner& b) {
    if (a.y > b.y) std::swap(a, b);
}

void CompareExchangeColumns(Corner& a, Corner& b) {
    if (a.x > b.x) std::swap(a, b);
}

// Differences are formed in 64 bits so that no pair of 32-bit corners can
// overflow; an edge within one row does not move.
double Slope(double delta, int64_t rows) { return rows == 0 ? 0.0 : delta / static_cast<double>(rows); }

double ColumnSlope(const Corner& from, const Corner& to) {
    return Slope(static_cast<double>(int64_t{to.x} - from.x), int64_t{to.y} - from.y);
}

// An edge's column and intensity slopes share their divisor, so one
// division of the pair gives both, each exactly as divided alone.
void EdgeSlopes(const Corner& from, const Corner& to, double& column, double& intensity) {
    const int64_t rows = int64_t{to.y} - from.y;
    if (rows == 0) {
        column = intensity = 0.0;
        return;
    }
    const double dx = static_cast<double>(int64_t{to.x} - from.x), di = to.intensity - from.intensity;
#if defined(__SSE2__)
    const __m128d q = _mm_div_pd(_mm_set_pd(di, dx), _mm_set1_pd(static_cast<double>(rows)));
    column = _mm_cvtsd_f64(q);
    intensity = _mm_cvtsd_f64(_mm_unpackhi_pd(q, q));
#else
    column = dx / static_cast<double>(rows);
    intensity = di / static_cast<double>(rows);
#endif
}

Edge MakeEdge(double upperStep, double upperIntensityStep, double lowerStep, double lowerIntensityStep) {
    return {0.0, 0.0, upperStep, upperIntensityStep, lowerStep, lowerIntensityStep};
}

// Places an edge on row 0 as if it had been walked there from the corner
// `from`, which lies above the screen, along its slopes.
void PlaceOnTopRow(Edge& edge, const Corner& from, double step, double intensityStep) {
    edge.x = from.x - from.y * step;
    edge.intensity = from.intensity - from.y * intensityStep;
}

// Moves an edge that starts on row top, above the screen, down to row 0
// along its upper slopes.
void ClipToTopRow(Edge& edge, int32_t top) {
    edge.x -= top * edge.upperStep;
    edge.intensity -= top * edge.upperIntensityStep;
}

// The flat span, kept here so the walker's rows need no call of their own.
inline void FillFlatSpan(uint32_t* rowStart, int32_t xa, int32_t xb, uint32_t colour) {
    if (xb < 0 || xa > LastColumn) return;
    xa = std::max(xa, 0);
    xb = std::min(xb, LastColumn);
    if (xa > xb) return;
    FillPixels(rowStart + xa, static_cast<size_t>(xb - xa + 1), colour);
}

template <bool Smooth>
void WriteSpan(uint32_t* row, int32_t xa, int32_t xb, double ia, double ib, uint32_t colour) {
    if constexpr (Smooth) {
        FillGouraudSpan(row, xa, xb, ia, ib, colour);
    } else {
        FillFlatSpan(row, xa, xb, colour);
    }
}

// A smooth row goes to the queue when there is one: rows a pitch apart
// never share a pixel.
template <bool Smooth>
void WriteRow(SpanQueue* queue, uint32_t* pixels, int32_t pitch, int32_t r, const Edge& left, const Edge& right,
              uint32_t colour) {
    uint32_t* row = pixels + static_cast<ptrdiff_t>(r) * pitch;
    int32_t xa, xb;
    TruncPairToInt(left.x, right.x, xa, xb);
    if (Smooth && queue != nullptr) {
        queue->Add(row, xa, xb, left.intensity, right.intensity);
        return;
    }
    WriteSpan<Smooth>(row, xa, xb, left.intensity, right.intensity, colour);
}

void StepUpper(Edge& edge) {
    edge.x += edge.upperStep;
    edge.intensity += edge.upperIntensityStep;
}

void StepLower(Edge& edge) {
    edge.x += edge.lowerStep;
    edge.intensity += edge.lowerIntensityStep;
}

template <bool Smooth>
int WalkTriangle(uint32_t* pixels, int32_t pitch, const double* intensities, const ScreenTriangle& t,
                 uint32_t colour) {
    Corner p0 = {t.x0, t.y0, Smooth ? intensities[0] : 0.0};
    Corner p1 = {t.x1, t.y1, Smooth ? intensities[1] : 0.0};
    Corner p2 = {t.x2, t.y2, Smooth ? intensities[2] : 0.0};
    CompareExchangeRows(p0, p1);
    CompareExchangeRows(p1, p2);
    CompareExchangeRows(p0, p1);
    if (p0.y == p1.y && p0.x > p1.x) std::swap(p0, p1);

    // Nothing whose top is on the last row or whose every corner is on the
    // last column is drawn: such slivers would only flicker at the border.
    if (p2.y < 0 || p0.y >= LastRow) return 0;
    if (p0.x < 0 && p1.x < 0 && p2.x < 0) return 0;
    if (p0.x >= LastColumn && p1.x >= LastColumn && p2.x >= LastColumn) return 0;

    // A flat triangle's intensities are all 0 and never read.
    double s02, s01, s12, d02 = 0.0, d01 = 0.0, d12 = 0.0;
    if constexpr (Smooth) {
        EdgeSlopes(p0, p2, s02, d02);
        EdgeSlopes(p0, p1, s01, d01);
        EdgeSlopes(p1, p2, s12, d12);
    } else {
        s02 = ColumnSlope(p0, p2);
        s01 = ColumnSlope(p0, p1);
        s12 = ColumnSlope(p1, p2);
    }
    // The long edge P0-P2 is on the right when it leans further right than
    // the upper short edge.
    const bool longEdgeRight = s02 > s01 && p0.y != p1.y;
    Edge left, right;
    if (longEdgeRight) {
        left = MakeEdge(s01, d01, s12, d12);
        right = MakeEdge(s02, d02, s02, d02);
    } else {
        left = MakeEdge(s02, d02, s02, d02);
        right = MakeEdge(s01, d01, s12, d12);
    }
    left.x = p0.x;
    left.intensity = p0.intensity;
    const Corner& rightStart = p0.y != p1.y ? p0 : p1;
    right.x = rightStart.x;
    right.intensity = rightStart.intensity;

    int32_t r = p0.y;
    if (p0.y < 0) {
        r = 0;
        if (p1.y >= 0) {
            ClipToTopRow(left, p0.y);
            ClipToTopRow(right, p0.y);
        } else if (longEdgeRight) {
            PlaceOnTopRow(left, p1, s12, d12);
            PlaceOnTopRow(right, p0, s02, d02);
        } else {
            PlaceOnTopRow(left, p0, s02, d02);
            PlaceOnTopRow(right, p1, s12, d12);
        }
    }

    if (p0.y == p1.y && p1.y == p2.y) {
        CompareExchangeColumns(p0, p1);
        CompareExchangeColumns(p1, p2);
        CompareExchangeColumns(p0, p1);
        WriteSpan<Smooth>(pixels + static_cast<ptrdiff_t>(r) * pitch, p0.x, p2.x, p0.intensity, p2.intensity,
                          colour);
        return 1;
    }

    SpanQueue rows;
    rows.colour = colour;
    SpanQueue* queue = Smooth && (pitch >= ScreenWidth || pitch <= -ScreenWidth) ? &rows : nullptr;
    const int32_t y1 = std::min(p1.y, LastRow);
    const int32_t y2 = std::min(p2.y, LastRow);
    for (; r < y1; ++r) {
        WriteRow<Smooth>(queue, pixels, pitch, r, left, right, colour);
        StepUpper(left);
        StepUpper(right);
    }

    // When the middle and the bottom corner share a column, the edge
    // between them starts exactly on that column rather than where the
    // upper edge's additions left it.
    if ((p0.y >= 0 || y1 >= 0) && !(y1 == LastRow && y2 == LastRow) && p1.x == p2.x && p1.x != ScreenWidth) {
        if (p0.x < p1.x) {
            right.x = p1.x;
            right.intensity = p1.intensity;
        }
        if (p0.x > p1.x) {
            left.x = p1.x;
            left.intensity = p1.intensity;
        }
    }

    for (; r <= y2; ++r) {
        WriteRow<Smooth>(queue, pixels, pitch, r, left, right, colour);
        StepLower(left);
        StepLower(right);
    }
    rows.Flush();
    return 1;
}

}  // namespace

int FillTriangle(uint32_t* pixels, int32_t pitch, const ScreenTriangle& triangle, uint32_t colour) {
    return WalkTriangle<false>(pixels, pitch, nullptr, triangle, colour);
}

int FillGouraudTriangle(uint32_t* pixels, int32_t pitch, const double intensities[3], const ScreenTriangle& triangle,
                        uint32_t colour) {
    return WalkTriangle<true>(pixels, pitch, intensities, triangle, colour);
}

void FillSpan(uint32_t* rowStart, int32_t xa, int32_t xb, uint32_t colour) { FillFlatSpan(rowStart, xa, xb, colour); }

// The smooth span writes the colour's outer channels exchanged, and its
// intensity starts at ia on the first pixel drawn even when the span was
// cut at the left edge, stopping one step short of ib. The intensity is
// one running sum, added to pixel by pixel.
void FillGouraudSpan(uint32_t* rowStart, int32_t xa, int32_t xb, double ia, double ib, uint32_t colour) {
    const SmoothSpan span = CutSmoothSpan(rowStart, xa, xb, ia, ib);
    if (span.count == 0) return;
    FinishSmoothSpan(span, 0, span.intensity, ChannelsOf(colour), SafeEnds(ia, ib));
}

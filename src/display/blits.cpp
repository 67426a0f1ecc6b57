// The 2D operations the scenes lay over the figures: fast copies, fills,
// the font, the frame-rate figure, scaled copies and the blend.
#include <algorithm>
#include <cstdio>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "display/surface.h"
#include "figure/math.h"
#include "raster/pixel_runs.h"

namespace {

// Left, top, right, bottom; right and bottom exclusive.
// Wide, so no sum of wild positions and sizes wraps into a small box.
struct Box {
    int64_t left, top, right, bottom;
};

bool Inside(const Box& box, const Surface* surface) {
    return box.left >= 0 && box.top >= 0 && box.left < box.right && box.top < box.bottom &&
           box.right <= surface->width && box.bottom <= surface->height;
}

uint32_t* PixelAt(Surface* surface, int64_t x, int64_t y) {
    return surface->pixels + static_cast<size_t>(y) * static_cast<size_t>(surface->pitch) + static_cast<size_t>(x);
}

// One row of a keyed copy between two surfaces. Four pixels at a time, a
// mask of those that are the key keeps the destination's pixel there; the
// destination is read and written whole, which is why a surface copied
// onto itself does not come this way.
void CopyRowKeyed(uint32_t* to, const uint32_t* from, size_t width, uint32_t key) {
    size_t column = 0;
#if defined(__SSE2__)
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF), keys = _mm_set1_epi32(static_cast<int>(key));
    for (; column + 4 <= width; column += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + column));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + column));
        const __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(s, colour), keys);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + column),
                         _mm_or_si128(_mm_and_si128(isKey, d), _mm_andnot_si128(isKey, s)));
    }
#endif
    for (; column < width; ++column) {
        const uint32_t pixel = from[column];
        if ((pixel & 0xFFFFFF) != key) to[column] = pixel;
    }
}

// A fast copy of a source box to (x, y). Like the presenter's own copy, a
// box that is empty or reaches outside either surface copies nothing.
// Rows of different surfaces never overlap; a surface copied onto itself
// goes pixel by pixel, in the order a row has always been copied.
void CopyBox(Surface* dest, int64_t x, int64_t y, Surface* source, const Box& box, bool keyed) {
    const Box target{x, y, x + (box.right - box.left), y + (box.bottom - box.top)};
    if (!Inside(box, source) || !Inside(target, dest)) return;
    const size_t width = static_cast<size_t>(box.right - box.left);
    const uint32_t key = source->colourKey;
    for (int64_t row = box.top; row < box.bottom; ++row) {
        const uint32_t* from = PixelAt(source, box.left, row);
        uint32_t* to = PixelAt(dest, x, y + row - box.top);
        if (keyed && dest != source) {
            CopyRowKeyed(to, from, width, key);
        } else if (keyed) {
            for (size_t column = 0; column < width; ++column) {
                const uint32_t pixel = from[column];
                if ((pixel & 0xFFFFFF) != key) to[column] = pixel;
            }
        } else if (dest != source) {
            std::memcpy(to, from, width * sizeof(uint32_t));
        } else {
            for (size_t column = 0; column < width; ++column) to[column] = from[column];
        }
    }
}

// A stretched, keyed copy of the source box onto the destination box,
// nearest pixel; refused like CopyBox.
void StretchBox(Surface* dest, const Box& target, Surface* source, const Box& box) {
    if (!Inside(box, source) || !Inside(target, dest)) return;
    const int64_t sourceWidth = box.right - box.left, sourceHeight = box.bottom - box.top;
    const int64_t targetWidth = target.right - target.left, targetHeight = target.bottom - target.top;
    const uint32_t key = source->colourKey;
    for (int64_t row = 0; row < targetHeight; ++row) {
        const int64_t sourceRow = box.top + row * sourceHeight / targetHeight;
        const uint32_t* from = PixelAt(source, box.left, sourceRow);
        uint32_t* to = PixelAt(dest, target.left, target.top + row);
        for (int64_t column = 0; column < targetWidth; ++column) {
            const uint32_t pixel = from[column * sourceWidth / targetWidth];
            if ((pixel & 0xFFFFFF) != key) to[column] = pixel;
        }
    }
}

// The blend works on the three colour bytes of a pixel at once, each in a
// 16-bit lane of its own: a byte times a weight plus a byte times the
// other weight is at most 255 x 256, so no lane spills into the next.
uint64_t Spread(uint32_t pixel) {
    return (pixel & 0xFFu) | (uint64_t{pixel & 0xFF00u} << 8) | (uint64_t{pixel & 0xFF0000u} << 16);
}

// Back to a pixel from lanes already shifted down by 8; the high byte is 0.
uint32_t Gather(uint64_t lanes) {
    lanes &= 0x00FF00FF00FFu;
    return static_cast<uint32_t>((lanes & 0xFFu) | ((lanes >> 8) & 0xFF00u) | ((lanes >> 16) & 0xFF0000u));
}

int TruncFloat(float v) { return TruncToInt(static_cast<double>(v)); }

uint32_t BlendPixel(uint32_t source, uint32_t dest, uint64_t weight, uint64_t keep) {
    return Gather((Spread(source) * weight + Spread(dest) * keep) >> 8);
}

// One row of the blend. Four pixels at a time the same sums are formed in
// eight 16-bit lanes, a lane to a byte, which is why they fit; the spare
// byte of each pixel is cleared as Gather clears it. The rest go one by one.
// A row is at most a surface's width.
void BlendRow(uint32_t* to, const uint32_t* from, int count, uint8_t weight) {
    const uint64_t w = weight, keep = 256 - w;
    int c = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i w16 = _mm_set1_epi16(static_cast<short>(w)), keep16 = _mm_set1_epi16(static_cast<short>(keep));
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    for (; c + 4 <= count; c += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + c));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + c));
        const __m128i low = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), w16),
                                                         _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), keep16)),
                                           8);
        const __m128i high = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), w16),
                                                          _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), keep16)),
                                            8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + c), _mm_and_si128(_mm_packus_epi16(low, high), colour));
    }
#endif
    for (; c < count; ++c) to[c] = BlendPixel(from[c], to[c], w, keep);
}

}  // namespace

uint32_t lastRateTime = 0;
bool rateTimeTaken = false;
int32_t framesCounted = 0;
char rateText[256] = "";

void BlitClipped(Surface* dest, int x, int y, int width, int height, Surface* source, int sourceX, int sourceY,
                 uint32_t flags) {
    if (dest == nullptr || source == nullptr) return;
    Box box{sourceX, sourceY, int64_t{sourceX} + width, int64_t{sourceY} + height};
    int64_t atX = x, atY = y;
    // One edge per axis: the far edge if it passes the screen, else the near.
    if (atX + width > 320) {
        box.right -= atX + width - 320;
    } else if (atX < 0) {
        box.left -= atX;
        atX = 0;
    }
    if (atY + height > 240) {
        box.bottom -= atY + height - 240;
    } else if (atY < 0) {
        box.top -= atY;
        atY = 0;
    }
    CopyBox(dest, atX, atY, source, box, (flags & BLTFAST_SRCCOLORKEY) != 0);
}

void FillRectangle(Surface* surface, int left, int top, int right, int bottom, uint32_t pixel) {
    if (surface == nullptr) return;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > surface->width) right = surface->width;
    if (bottom > surface->height) bottom = surface->height;
    if (left >= right) return;
    for (int row = top; row < bottom; ++row) FillPixels(PixelAt(surface, left, row), static_cast<size_t>(right - left), pixel);
}

void FillSurface(Surface* surface, uint32_t pixel) { FillRectangle(surface, 0, 0, 320, 240, pixel); }

void DrawString(Surface* dest, int x, int y, const char* text) {
    for (const char* c = text; *c != 0; ++c) {
        const unsigned code = static_cast<unsigned char>(*c);
        BlitClipped(dest, x, y, 8, 16, fontSurface, static_cast<int>(code % 16 * 8), static_cast<int>(code / 16 * 16),
                    BLTFAST_SRCCOLORKEY);
        x = static_cast<int>(static_cast<uint32_t>(x) + 8u);
    }
}

void DrawFrameRate(Surface* dest, int x, int y) {
    if (!rateTimeTaken) {
        lastRateTime = platform::TimeGetTime();
        rateTimeTaken = true;
    }
    framesCounted = static_cast<int32_t>(static_cast<uint32_t>(framesCounted) + 1u);
    const uint32_t now = platform::TimeGetTime();
    if (now - lastRateTime >= 1000) {
        lastRateTime = now;
        std::snprintf(rateText, sizeof rateText, "%d", framesCounted);
        framesCounted = 0;
    }
    DrawString(dest, x, y, rateText);
}

void DrawScaled(Surface* dest, int x, int y, Surface* source, float xScale, float yScale, int left, int top, int right,
                int bottom) {
    if (dest == nullptr || source == nullptr) return;
    const float w = static_cast<float>(right - left) * xScale;
    const float h = static_cast<float>(bottom - top) * yScale;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    float clipL = 0, clipT = 0, clipR = 0, clipB = 0;
    if (x < 0) clipL = -fx;
    if (y < 0) clipT = -fy;
    if (fx + w > 320) clipR = 320 - (fx + w);
    if (fy + h > 240) clipB = 240 - (fy + h);
    const Box target{TruncFloat(fx + clipL), TruncFloat(fy + clipT), TruncFloat(fx + clipR + w),
                     TruncFloat(fy + clipB + h)};
    const auto shifted = [](int edge, float amount) { return int64_t{edge} + TruncFloat(amount); };
    const Box box{shifted(left, clipL / xScale), shifted(top, clipT / yScale), shifted(right, clipR / xScale),
                  shifted(bottom, clipB / yScale)};
    StretchBox(dest, target, source, box);
}

void DrawScaledCentred(Surface* dest, int cx, int cy, Surface* source, float xScale, float yScale, int left, int top,
                       int right, int bottom) {
    const double halfWidth = static_cast<double>(static_cast<float>(right - left) * xScale) * 0.5;
    const double halfHeight = static_cast<double>(static_cast<float>(bottom - top) * yScale) * 0.5;
    const int x = static_cast<int>(static_cast<uint32_t>(cx) - static_cast<uint32_t>(TruncToInt(halfWidth)));
    const int y = static_cast<int>(static_cast<uint32_t>(cy) - static_cast<uint32_t>(TruncToInt(halfHeight)));
    DrawScaled(dest, x, y, source, xScale, yScale, left, top, right, bottom);
}

void BlendSurface(Surface* dest, int x, int y, int endX, int endY, Surface* source, int startX, int startY,
                  uint8_t weight) {
    if (dest == nullptr || source == nullptr) return;
    SurfaceDesc to, from;
    LockSurface(dest, &to);
    LockSurface(source, &from);
    // The region is kept to what both surfaces hold; an odd last column is
    // blended on its own rather than with the pixel beyond the region.
    const int64_t firstRow = std::max<int64_t>({startY, 0, -int64_t{y}});
    const int64_t lastRow = std::min<int64_t>({endY, source->height, int64_t{dest->height} - y});
    const int64_t firstColumn = std::max<int64_t>({startX, 0, -int64_t{x}});
    const int64_t lastColumn = std::min<int64_t>({endX, source->width, int64_t{dest->width} - x});
    // A surface blended onto itself at an offset reads pixels the same row
    // has just written, so it keeps to one pixel at a time.
    const bool overlap = dest == source || dest->pixels == source->pixels;
    const uint64_t w = weight, keep = 256 - w;
    for (int64_t r = firstRow; r < lastRow; ++r) {
        const uint32_t* s = from.surface + r * (from.pitchBytes / 4);
        uint32_t* d = to.surface + (r + y) * (to.pitchBytes / 4) + x;
        if (lastColumn <= firstColumn) continue;
        if (overlap) {
            for (int64_t c = firstColumn; c < lastColumn; ++c) d[c] = BlendPixel(s[c], d[c], w, keep);
        } else {
            BlendRow(d + firstColumn, s + firstColumn, static_cast<int>(lastColumn - firstColumn), weight);
        }
    }
    UnlockSurface(dest);
    UnlockSurface(source);
}

void BlendAndCopyBack(Surface* kept, Surface* back, uint8_t weight) {
    const auto whole = [](const Surface* s) { return s != nullptr && s->width >= 320 && s->height >= 240; };
    if (!whole(kept) || !whole(back) || kept == back || kept->pixels == back->pixels) {
        BlendSurface(kept, 0, 0, 320, 240, back, 0, 0, weight);
        BlitClipped(back, 0, 0, 320, 240, kept, 0, 0, BLTFAST_NOCOLORKEY);
        return;
    }
    SurfaceDesc to, from;
    LockSurface(kept, &to);
    LockSurface(back, &from);
    for (int64_t r = 0; r < 240; ++r) {
        uint32_t* k = PixelAt(kept, 0, r);
        BlendRow(k, PixelAt(back, 0, r), 320, weight);
        std::memcpy(PixelAt(back, 0, r), k, 320 * sizeof(uint32_t));
    }
    UnlockSurface(kept);
    UnlockSurface(back);
}

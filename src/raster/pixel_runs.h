// Runs of 32-bit pixels: the fill that the back-buffer clear, the flat
// spans and the colour fills all come down to, sixteen bytes at a store
// where the machine has them.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

inline void FillPixels(uint32_t* to, size_t count, uint32_t pixel) {
#if defined(__SSE2__)
    // Four at a store, the last four ending exactly at the end of the run
    // (they may cover pixels the loop has just written, with the same
    // word): a run of any length from four up takes one loop and no tail.
    if (count >= 4) {
        const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
        for (size_t i = 0; i + 4 < count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + count - 4), four);
        return;
    }
#endif
    for (size_t i = 0; i < count; ++i) to[i] = pixel;
}

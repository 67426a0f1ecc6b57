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
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    for (; i + 8 <= count; i += 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i + 4), four);
    }
    for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), four);
#endif
    for (; i < count; ++i) to[i] = pixel;
}

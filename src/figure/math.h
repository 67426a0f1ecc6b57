// Angles, the sine table and the point-array routines the 3D pipeline,
// the fighters' movement and the camera rest on.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

struct Vec3 {
    double x, y, z;
};

// The one conversion from double to integer in the game: truncation toward
// zero, saturating at the 32-bit range, with NaN giving 0. Every screen
// coordinate, shade, colour channel and angle goes through it, so a wild
// value (a shadow cast from a zero divisor, say) stays defined.
inline int32_t TruncToInt(double v) {
    if (!(v == v)) return 0;  // NaN
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Two doubles truncated as TruncToInt truncates each. Both go
// through one conversion of the pair; only a value the machine marks as
// out of range or NaN (the result 0x80000000) is taken again through the
// checks, so the answers are TruncToInt's in every case.
inline void TruncPairToInt(double a, double b, int32_t& first, int32_t& second) {
#if defined(__SSE2__)
    const __m128i both = _mm_cvttpd_epi32(_mm_set_pd(b, a));
    first = _mm_cvtsi128_si32(both);
    second = _mm_cvtsi128_si32(_mm_shuffle_epi32(both, 1));
    if (first == INT32_MIN) first = TruncToInt(a);
    if (second == INT32_MIN) second = TruncToInt(b);
#else
    first = TruncToInt(a);
    second = TruncToInt(b);
#endif
}

// The same truncation without the checks, for inner loops that have shown
// once, before the loop, that every value lies strictly inside the 32-bit
// range and none is NaN; there it gives exactly what TruncToInt gives.
inline int32_t TruncToIntInRange(double v) { return static_cast<int32_t>(v); }

// Angles are 16-bit, 512 units to a turn; only the low 9 bits count.
// A double angle is kept to 16 bits by truncation, wrapping modulo 65536.
inline uint16_t TruncToAngle(double v) {
    return static_cast<uint16_t>(static_cast<uint32_t>(TruncToInt(v)));
}

extern double SinTable[512];
extern uint8_t sineTableLoaded;

inline double Sine(uint32_t a) { return SinTable[a & 511]; }
inline double Cosine(uint32_t a) { return SinTable[(a + 128) & 511]; }

// Reads "file\SinTable.file" (512 little-endian doubles) into SinTable.
bool LoadSineTable();
// Loads the table on the first call only, whether or not that load worked.
void EnsureSineTable();

// Rotates the points in place about Z by angles[0], X by angles[1], then Y
// by angles[2]; the angles are first reduced modulo 512 in place.
bool RotatePoints(uint16_t angles[3], Vec3* points, int count);
bool TranslatePoints(Vec3* points, const Vec3& delta, int count);

// The heading, in angle units, of the direction from b to a on the floor.
double AngleFromDelta(const Vec3& a, const Vec3& b);

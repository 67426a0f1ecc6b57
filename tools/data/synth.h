// The small synthesiser the sound effects are made with: seeded noise,
// resonant filters whose frequency may move every sample, envelopes, and
// the 8-bit RIFF/WAVE writer. Everything is deterministic.
#pragma once

#include <cstdint>
#include <vector>

constexpr double EffectRate = 22050.0;

// Seeded white noise (xorshift32), uniform in [-1, 1).
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 1u) {}
    double Next();
};

enum class FilterKind { LowPass, HighPass, BandPass };

// A second-order resonant filter; Set may be called every sample.
struct Filter {
    FilterKind kind;
    double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    Filter(FilterKind k, double frequency, double q) : kind(k) { Set(frequency, q); }
    void Set(double frequency, double q);
    double Step(double x);
};

// A sine oscillator whose frequency may change every sample.
struct Oscillator {
    double phase = 0;  // in turns
    double Sine(double frequency);
    // A band-limited square: odd harmonics up to `harmonics`.
    double Square(double frequency, int harmonics);
};

double Decay(double t, double timeConstant);  // exp(-t / tc)
double SoftClip(double x, double drive);      // tanh(drive x) / tanh(drive)

// Fades the last `seconds` of interleaved samples to silence, so that an
// effect never ends on a click.
void FadeOut(std::vector<double>& samples, int channels, double seconds);
// Interleaved samples of `channels` channels, scaled so that the loudest
// is at `peak` of full scale, as 8-bit unsigned PCM with seeded dither.
std::vector<uint8_t> ToPcm8(const std::vector<double>& samples, double peak, uint32_t ditherSeed);
// A RIFF/WAVE file: a 16-byte "fmt " chunk (PCM, 8 bits, 22050 Hz) and
// the "data" chunk.
std::vector<uint8_t> WaveFile8(const std::vector<uint8_t>& pcm, int channels);

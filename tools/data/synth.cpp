#include "data/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "figure/math.h"

double Noise::Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483648.0 - 1.0;
}

void Filter::Set(double frequency, double q) {
    const double nyquistSafe = std::fmin(frequency, EffectRate * 0.45);
    const double w = 2.0 * std::numbers::pi * nyquistSafe / EffectRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    const double a0 = 1.0 + alpha;
    switch (kind) {
    case FilterKind::LowPass:
        b0 = (1.0 - c) / 2.0 / a0;
        b1 = (1.0 - c) / a0;
        b2 = b0;
        break;
    case FilterKind::HighPass:
        b0 = (1.0 + c) / 2.0 / a0;
        b1 = -(1.0 + c) / a0;
        b2 = b0;
        break;
    case FilterKind::BandPass:  // peak gain 1
        b0 = alpha / a0;
        b1 = 0.0;
        b2 = -alpha / a0;
        break;
    }
    a1 = -2.0 * c / a0;
    a2 = (1.0 - alpha) / a0;
}

double Filter::Step(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

double Oscillator::Sine(double frequency) {
    const double value = std::sin(2.0 * std::numbers::pi * phase);
    phase += frequency / EffectRate;
    phase -= std::floor(phase);
    return value;
}

double Oscillator::Square(double frequency, int harmonics) {
    double value = 0.0;
    for (int h = 1; h <= harmonics && h * frequency < EffectRate * 0.45; h += 2)
        value += std::sin(2.0 * std::numbers::pi * phase * h) / h;
    phase += frequency / EffectRate;
    phase -= std::floor(phase);
    return value * 4.0 / std::numbers::pi;
}

double Decay(double t, double timeConstant) { return std::exp(-t / timeConstant); }

double SoftClip(double x, double drive) { return std::tanh(drive * x) / std::tanh(drive); }

void FadeOut(std::vector<double>& samples, int channels, double seconds) {
    const size_t frames = samples.size() / static_cast<size_t>(channels);
    const size_t fade = std::min(frames, static_cast<size_t>(TruncToInt(seconds * EffectRate)));
    for (size_t k = 0; k < fade; ++k) {
        const double level = static_cast<double>(k) / static_cast<double>(fade);
        const size_t frame = frames - 1 - k;
        for (int c = 0; c < channels; ++c) samples[frame * channels + c] *= level;
    }
}

std::vector<uint8_t> ToPcm8(const std::vector<double>& samples, double peak, uint32_t ditherSeed) {
    double loudest = 0.0;
    for (double s : samples) loudest = std::fmax(loudest, std::fabs(s));
    const double gain = loudest > 0.0 ? peak * 127.0 / loudest : 0.0;
    Noise dither(ditherSeed);
    std::vector<uint8_t> pcm;
    pcm.reserve(samples.size());
    for (double s : samples) {
        // Triangular dither of one step keeps the quiet tails smooth.
        const double d = (dither.Next() + dither.Next()) * 0.5;
        const double v = std::floor(128.0 + s * gain + d + 0.5);
        pcm.push_back(static_cast<uint8_t>(TruncToInt(std::fmin(255.0, std::fmax(0.0, v)))));
    }
    return pcm;
}

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutId(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(id[i]));
}

}  // namespace

std::vector<uint8_t> WaveFile8(const std::vector<uint8_t>& pcm, int channels) {
    const uint32_t rate = static_cast<uint32_t>(TruncToInt(EffectRate));
    const uint32_t dataSize = static_cast<uint32_t>(pcm.size());
    const uint32_t pad = dataSize & 1u;
    std::vector<uint8_t> out;
    PutId(out, "RIFF");
    Put32(out, 4 + (8 + 16) + (8 + dataSize + pad));
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, static_cast<uint16_t>(channels));
    Put32(out, rate);
    Put32(out, rate * static_cast<uint32_t>(channels));  // one byte a sample
    Put16(out, static_cast<uint16_t>(channels));
    Put16(out, 8);
    PutId(out, "data");
    Put32(out, dataSize);
    out.insert(out.end(), pcm.begin(), pcm.end());
    if (pad) out.push_back(0x80);
    return out;
}

// The game's five sound effects, synthesised: 22050 Hz, 8 bits.
//   Hit.wav      a blade landing on a body: a heavy low thump, a crunch, a smack
//   Attack.wav   the weapon swung: a swish of air rising through the swing
//   Sousatu.wav  two weapons meeting: a bright metallic clang (stereo)
//   Jump.wav     a short rising chirp
//   KO.wav       the knock-out: the body's deep thud and a long falling groan
//
// The game plays every effect at full volume, over the music, so the
// levels written here are the levels of the mix; see Levels below.
#include <cmath>
#include <string>
#include <vector>

#include "data/synth.h"
#include "data/writers.h"
#include "figure/math.h"

namespace {

int Samples(double seconds) { return TruncToInt(seconds * EffectRate); }

// The body of a blow: a sine whose pitch drops from `floor` + `drop` to
// `floor`, and a burst of low-passed noise, the crunch.
struct Blow {
    double floor, drop, pitchTime, bodyTime, crunchLevel, crunchTime;
    Oscillator body;
    Filter crunch;
    Blow(double f, double d, double pt, double bt, double crunchCutoff, double cl, double ct)
        : floor(f), drop(d), pitchTime(pt), bodyTime(bt), crunchLevel(cl), crunchTime(ct),
          crunch(FilterKind::LowPass, crunchCutoff, 0.9) {}
    double Step(double t, double white) {
        return body.Sine(floor + drop * Decay(t, pitchTime)) * Decay(t, bodyTime) +
               crunch.Step(white) * Decay(t, crunchTime) * crunchLevel;
    }
};

std::vector<double> Hit() {
    const int n = Samples(0.34);
    std::vector<double> out(n);
    Noise noise(0x48495431u);
    // The thump falls from about 170 Hz to 55 Hz within a few cycles.
    Blow blow(55.0, 115.0, 0.028, 0.085, 2600.0, 0.9, 0.014);
    // The smack carries the blow through the band, where a thump alone
    // would sound small against the music.
    Filter smack(FilterKind::BandPass, 950.0, 1.3);
    for (int i = 0; i < n; ++i) {
        const double t = i / EffectRate;
        const double w = noise.Next();
        const double slap = smack.Step(w) * Decay(t, 0.06) * 2.0;
        out[i] = SoftClip(blow.Step(t, w) + slap, 1.8);
    }
    return out;
}

std::vector<double> Attack() {
    const double length = 0.30;
    const int n = Samples(length);
    std::vector<double> out(n);
    Noise noise(0x41544b31u);
    Filter band(FilterKind::BandPass, 600.0, 2.2);
    Filter hiss(FilterKind::BandPass, 1200.0, 1.5);
    const double swell = 0.10;  // the blade's closest pass
    for (int i = 0; i < n; ++i) {
        const double t = i / EffectRate;
        // The air's pitch rises as the blade speeds past, then sinks.
        const double centre = t < swell ? 500.0 + 3000.0 * (t / swell) : 3500.0 * Decay(t - swell, 0.16) + 400.0;
        band.Set(centre, 2.2);
        hiss.Set(centre * 2.1, 1.5);
        // Heard from the start of the swing, loudest as the blade passes.
        const double envelope = t < swell ? t / swell : Decay(t - swell, 0.055);
        const double w = noise.Next();
        out[i] = (band.Step(w) + 0.45 * hiss.Step(w)) * envelope;
    }
    return out;
}

std::vector<double> Sousatu() {
    const int n = Samples(0.60);
    std::vector<double> out(2 * n);
    Noise noise(0x534f5531u);
    Filter clickLeft(FilterKind::HighPass, 3200.0, 0.8);
    Filter clickRight(FilterKind::HighPass, 3600.0, 0.8);
    // Inharmonic partials of a struck blade, the higher ones dying sooner.
    struct Partial {
        double frequency, level, decay;
    };
    const Partial partials[] = {{1267, 1.0, 0.34}, {1831, 0.8, 0.27}, {2437, 0.7, 0.21}, {3190, 0.55, 0.17},
                                {3905, 0.45, 0.13}, {4733, 0.35, 0.10}, {5610, 0.25, 0.08}};
    Oscillator left[7], right[7];
    for (int i = 0; i < n; ++i) {
        const double t = i / EffectRate;
        double l = 0.0, r = 0.0;
        for (int p = 0; p < 7; ++p) {
            const Partial& q = partials[p];
            const double level = q.level * Decay(t, q.decay);
            // Each side slightly detuned: the ring beats and spreads.
            l += left[p].Sine(q.frequency * 0.994) * level;
            r += right[p].Sine(q.frequency * 1.006) * level;
        }
        // The strike is a short tick on the ring; the ring is driven into
        // a soft clip, which keeps its loudness up and its peaks down.
        const double strike = Decay(t, 0.007) * 0.6;
        const double w = noise.Next();
        out[2 * i] = SoftClip(0.35 * l + clickLeft.Step(w) * strike, 2.0);
        out[2 * i + 1] = SoftClip(0.35 * r + clickRight.Step(w) * strike, 2.0);
    }
    return out;
}

std::vector<double> Jump() {
    const double length = 0.20;
    const int n = Samples(length);
    std::vector<double> out(n);
    Oscillator tone;
    Filter soften(FilterKind::LowPass, 3000.0, 0.7);
    for (int i = 0; i < n; ++i) {
        const double t = i / EffectRate;
        const double frequency = 260.0 * std::pow(880.0 / 260.0, t / length);
        const double envelope = std::fmin(1.0, t / 0.006) * std::pow(1.0 - t / length, 1.5);
        out[i] = soften.Step(tone.Square(frequency, 7)) * envelope;
    }
    return out;
}

std::vector<double> KnockOut() {
    const double length = 1.0;
    const int n = Samples(length);
    std::vector<double> out(n);
    Noise noise(0x4b4f3131u);
    // Deeper and longer than a hit: down to 38 Hz. The knock-out comes in
    // the frame of the blow that caused it, so the thud lands 60 ms after
    // the hit's thump, once that has passed its peak: the two do not pile up.
    const double thud = 0.06;
    Blow blow(38.0, 95.0, 0.045, 0.22, 1800.0, 1.1, 0.03);
    Oscillator groan, groanFifth;
    Filter groanTone(FilterKind::LowPass, 1400.0, 0.8);
    Filter fall(FilterKind::BandPass, 1500.0, 1.8);
    for (int i = 0; i < n; ++i) {
        const double t = i / EffectRate;
        const double w = noise.Next();
        // The tail: a groan and a band of noise that swell over the thud,
        // then sink.
        const double pitch = 320.0 * std::pow(70.0 / 320.0, t / length);
        const double rise = std::fmin(1.0, t / 0.15);
        const double tailLevel = 2.1 * rise * Decay(t, 1.5) * (1.0 - t / length);
        const double moan = groanTone.Step(groan.Square(pitch, 9) + 0.5 * groanFifth.Sine(pitch * 1.5));
        fall.Set(1500.0 * std::pow(150.0 / 1500.0, t / length), 1.8);
        const double rush = fall.Step(w);
        const double body = t >= thud ? blow.Step(t - thud, w) : 0.0;
        out[i] = SoftClip(body + tailLevel * (0.55 * moan + 0.6 * rush), 1.5);
    }
    return out;
}

// Levels: each effect's loudest sample as a share of full scale. The music
// peaks at a third of full scale on its loudest beat (at the volume the
// game plays it). The final blow's hit and the knock-out sound together
// and a clash may ring over them: the peaks of those three and of the
// music add up to under 0.95 of full scale, so wherever they fall the mix
// does not clip; all five effects started at once over the music's
// loudest beat stay under full scale too. Within that, the blow and the
// knock-out stand clearly above the music, the clash clearly, the swing
// and the jump lighter.
namespace Levels {
constexpr double Hit = 0.28, KnockOut = 0.23, Sousatu = 0.15, Attack = 0.15, Jump = 0.11;
}

bool WriteEffect(const DataPaths& paths, const char* name, std::vector<double> samples, int channels, double level,
                 uint32_t seed) {
    FadeOut(samples, channels, 0.02);
    const std::vector<uint8_t> wav = WaveFile8(ToPcm8(samples, level, seed), channels);
    return WriteDataFile(paths, name, wav.data(), wav.size());
}

}  // namespace

bool WriteSounds(const DataPaths& paths) {
    bool ok = WriteEffect(paths, "Hit.wav", Hit(), 1, Levels::Hit, 11);
    ok = WriteEffect(paths, "Attack.wav", Attack(), 1, Levels::Attack, 12) && ok;
    ok = WriteEffect(paths, "Sousatu.wav", Sousatu(), 2, Levels::Sousatu, 13) && ok;
    ok = WriteEffect(paths, "Jump.wav", Jump(), 1, Levels::Jump, 14) && ok;
    ok = WriteEffect(paths, "KO.wav", KnockOut(), 1, Levels::KnockOut, 15) && ok;
    return ok;
}

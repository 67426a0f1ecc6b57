// The SDL backend's effects, heard through the disk audio driver: each on
// its own channel, restarted when played again, converted from its PCM.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sdl_audio_capture.h"
#include "support/sound_formats.h"

using namespace platform;

namespace {

constexpr int Rate = 22050;

// A constant level above silence: mixed levels add, so the output shows
// how many copies of which effects were sounding at each moment.
std::vector<uint8_t> Level8(int offset, double seconds) {
    return std::vector<uint8_t>(static_cast<size_t>(seconds * Rate), static_cast<uint8_t>(128 + offset));
}

// Where the output is louder than `threshold`: its length in seconds, its
// loudest frame, and whether it fell quiet in between.
struct Span {
    double seconds = 0;
    int peak = 0;
    bool gapless = true;
};

Span Loud(const std::vector<int>& frames, int threshold) {
    Span span;
    size_t first = frames.size(), last = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        span.peak = std::max(span.peak, frames[i]);
        if (frames[i] <= threshold) continue;
        span.gapless &= first == frames.size() || last + 1 == i;
        first = std::min(first, i), last = i;
    }
    span.seconds = first <= last ? static_cast<double>(last - first + 1) / Rate : 0;
    return span;
}

}  // namespace

TEST(SdlSound, EffectsMixWhateverTheirFormatAndPlayingOneAgainStartsItOver) {
    AudioCapture capture;
    ASSERT_TRUE(capture.Open());
    const std::vector<uint8_t> low = Level8(30, 0.4);
    // The other effect in 16-bit stereo at 44100 Hz, 25 steps of 8 bits up.
    std::vector<uint8_t> high(static_cast<size_t>(0.3 * 44100) * 4);
    const int16_t value = 25 * 256;
    for (size_t i = 0; i + 1 < high.size(); i += 2) std::memcpy(&high[i], &value, 2);
    SoundBuffer* a = CreateSoundBuffer("Low.wav", PcmFormat(1, Rate, 8), low.data(), low.size());
    SoundBuffer* b = CreateSoundBuffer("High.wav", PcmFormat(2, 44100, 16), high.data(), high.size());
    ASSERT_TRUE(a && b);
    // Time is the mixer's own: bytes of output written (two a frame).
    const size_t first = capture.Written();
    PlaySoundBuffer(a);
    PlaySoundBuffer(b);
    capture.WaitForBytes(first + static_cast<size_t>(0.15 * 2 * Rate));
    const size_t second = capture.Written();
    PlaySoundBuffer(a);
    const double gap = static_cast<double>(second - first) / (2 * Rate);
    capture.WaitForBytes(second + static_cast<size_t>(0.9 * 2 * Rate));
    ReleaseSoundBuffer(a);
    ReleaseSoundBuffer(b);
    // The two effects add; the first is never layered on itself but sounds
    // on from its first start to the end of its second.
    const std::vector<int> out = capture.Finish();
    const Span any = Loud(out, 15);
    EXPECT_NEAR(any.peak, 55, 3);
    EXPECT_TRUE(any.gapless);
    EXPECT_NEAR(any.seconds, 0.4 + gap, 0.08);
    EXPECT_GT(any.seconds, 0.47);
    EXPECT_NEAR(Loud(out, 40).seconds, 0.3, 0.05) << "both sounding for as long as the shorter lasts";
}

TEST(SdlSound, OnlyFormatsTheMixerCanTakeMakeBuffersAndATornFramePlaysWhatItHolds) {
    const std::vector<uint8_t> level = Level8(10, 0.1);
    EXPECT_EQ(CreateSoundBuffer("Early.wav", PcmFormat(1, Rate, 8), level.data(), level.size()), nullptr);  // no mixer
    AudioCapture capture;
    ASSERT_TRUE(capture.Open());
    for (const auto& [format, playable] : FormatCases()) {
        SoundBuffer* buffer = CreateSoundBuffer("Case.wav", format, level.data(), level.size());
        EXPECT_EQ(buffer != nullptr, playable) << format.channels << " channels, " << format.samplesPerSec << " Hz, "
                                               << format.bitsPerSample << " bits, tag " << format.formatTag;
        ReleaseSoundBuffer(buffer);
    }
    SoundBuffer* empty = CreateSoundBuffer("Empty.wav", PcmFormat(1, Rate, 8), nullptr, 0);
    SoundBuffer* torn = CreateSoundBuffer("Torn.wav", PcmFormat(2, Rate, 16), level.data(), 7);
    ASSERT_TRUE(empty && torn);
    PlaySoundBuffer(empty);
    PlaySoundBuffer(torn);
    capture.WaitForBytes(capture.Written() + static_cast<size_t>(0.1 * 2 * Rate));
    ReleaseSoundBuffer(empty);
    ReleaseSoundBuffer(torn);
}

TEST(SdlSound, WithoutAnOutputThereIsNoSoundDevice) {
    setenv("SDL_AUDIODRIVER", "disk", 1);  // SDL's audio starts, the output cannot be opened
    setenv("SDL_DISKAUDIOFILE", "/nonexistent-folder/out.raw", 1);
    EXPECT_FALSE(CreateSoundDevice());
    EXPECT_FALSE(CreatePrimarySoundBuffer());
    const std::vector<uint8_t> level = Level8(10, 0.1);
    EXPECT_EQ(CreateSoundBuffer("Hit.wav", PcmFormat(1, Rate, 8), level.data(), level.size()), nullptr);
}

// The SDL backend's effects, heard through the disk audio driver: each
// effect on its own channel, restarted when played again, mixed with the
// others, converted from whatever PCM its file holds.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "sdl_audio_capture.h"

using namespace platform;

namespace {

constexpr int Rate = 22050;

// A constant level above silence: mixed levels add, so the output shows
// how many copies of which effects were sounding at each moment.
std::vector<uint8_t> Level8(int offset, double seconds) {
    return std::vector<uint8_t>(static_cast<size_t>(seconds * Rate), static_cast<uint8_t>(128 + offset));
}

WaveFormat Format(uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t align = static_cast<uint16_t>(bits / 8 * channels);
    return WaveFormat{1, channels, rate, rate * align, align, bits, 0};
}

struct Span {
    size_t first = 0, last = 0;  // stereo frames
    int peak = 0;
    bool gapless = true;
};

// Where the output is louder than `threshold`, and its loudest deviation.
Span Loud(const std::vector<uint8_t>& out, int threshold) {
    Span span;
    bool seen = false;
    size_t quietRun = 0;
    for (size_t frame = 0; frame * 2 + 1 < out.size(); ++frame) {
        const int d = std::max(Deviation(out[frame * 2]), Deviation(out[frame * 2 + 1]));
        span.peak = std::max(span.peak, d);
        if (d > threshold) {
            if (seen && quietRun > 0) span.gapless = false;
            if (!seen) span.first = frame;
            seen = true;
            span.last = frame;
            quietRun = 0;
        } else if (seen) {
            ++quietRun;
        }
    }
    return span;
}

double Seconds(const Span& s) { return static_cast<double>(s.last - s.first + 1) / Rate; }

}  // namespace

TEST(SdlSound, PlayingAnEffectAgainCutsItOffAndStartsItOver) {
    AudioCapture capture;
    ASSERT_TRUE(capture.Open());
    const std::vector<uint8_t> level = Level8(40, 0.4);
    SoundBuffer* effect = CreateSoundBuffer("Level.wav", Format(1, Rate, 8), level.data(), level.size());
    ASSERT_NE(effect, nullptr);

    PlaySoundBuffer(effect);
    const auto first = std::chrono::steady_clock::now();
    Sleep(150);
    PlaySoundBuffer(effect);
    const double gap = std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
    Sleep(900);
    ReleaseSoundBuffer(effect);
    const Span span = Loud(capture.Finish(), 20);

    // One copy at a time, never two layered; sounding on from the first
    // start to the end of the second.
    EXPECT_NEAR(span.peak, 40, 2);
    EXPECT_TRUE(span.gapless);
    EXPECT_NEAR(Seconds(span), 0.4 + gap, 0.08);
    EXPECT_GT(Seconds(span), 0.47);
}

TEST(SdlSound, DifferentEffectsSoundTogetherWhateverTheirFormat) {
    AudioCapture capture;
    ASSERT_TRUE(capture.Open());
    const std::vector<uint8_t> low = Level8(30, 0.5);
    // The other effect in 16-bit stereo at 44100 Hz, 25 steps of 8 bits up.
    std::vector<uint8_t> high(static_cast<size_t>(0.5 * 44100) * 4);
    const int16_t value = 25 * 256;
    for (size_t i = 0; i + 1 < high.size(); i += 2) std::memcpy(&high[i], &value, 2);
    SoundBuffer* a = CreateSoundBuffer("Low.wav", Format(1, Rate, 8), low.data(), low.size());
    SoundBuffer* b = CreateSoundBuffer("High.wav", Format(2, 44100, 16), high.data(), high.size());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);

    PlaySoundBuffer(a);
    PlaySoundBuffer(b);
    Sleep(900);
    ReleaseSoundBuffer(a);
    ReleaseSoundBuffer(b);
    const Span span = Loud(capture.Finish(), 15);
    EXPECT_NEAR(span.peak, 55, 3);
    EXPECT_NEAR(Seconds(span), 0.5, 0.05);
}

TEST(SdlSound, OnlyFormatsTheMixerCanTakeMakeBuffers) {
    const std::vector<uint8_t> level = Level8(10, 0.1);
    // No mixer yet: nothing can be made.
    EXPECT_EQ(CreateSoundBuffer("Early.wav", Format(1, Rate, 8), level.data(), level.size()), nullptr);

    AudioCapture capture;
    ASSERT_TRUE(capture.Open());
    WaveFormat floatFormat = Format(1, Rate, 32);
    floatFormat.formatTag = 3;
    EXPECT_EQ(CreateSoundBuffer("Float.wav", floatFormat, level.data(), level.size()), nullptr);
    EXPECT_EQ(CreateSoundBuffer("24.wav", Format(1, Rate, 24), level.data(), level.size()), nullptr);
    EXPECT_EQ(CreateSoundBuffer("None.wav", Format(0, Rate, 8), level.data(), level.size()), nullptr);
    EXPECT_EQ(CreateSoundBuffer("Still.wav", Format(1, 0, 8), level.data(), level.size()), nullptr);

    // No samples, or a torn last frame: a buffer that plays what it holds.
    SoundBuffer* empty = CreateSoundBuffer("Empty.wav", Format(1, Rate, 8), nullptr, 0);
    ASSERT_NE(empty, nullptr);
    PlaySoundBuffer(empty);
    SoundBuffer* torn = CreateSoundBuffer("Torn.wav", Format(2, Rate, 16), level.data(), 7);
    ASSERT_NE(torn, nullptr);
    PlaySoundBuffer(torn);
    Sleep(100);
    ReleaseSoundBuffer(empty);
    ReleaseSoundBuffer(torn);
    capture.Finish();
}

TEST(SdlSound, WithoutAnOutputThereIsNoSoundDevice) {
    // SDL's audio starts, but the output cannot be opened.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/nonexistent-folder/out.raw", 1);
    EXPECT_FALSE(CreateSoundDevice());
    EXPECT_FALSE(CreatePrimarySoundBuffer());
    const std::vector<uint8_t> level = Level8(10, 0.1);
    EXPECT_EQ(CreateSoundBuffer("Hit.wav", Format(1, Rate, 8), level.data(), level.size()), nullptr);
}

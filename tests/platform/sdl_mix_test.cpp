// The game's own sounds through the SDL backend, heard through the disk
// audio driver: the five effects as the data maker writes them and the
// music at the volume the backend plays it leave headroom under full scale
// in the 8-bit output wherever their peaks fall against each other.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "devices/sound.h"
#include "platform/sdl/sdl_audio.h"
#include "sdl_audio_capture.h"

using namespace platform;

namespace {

using Bytes = std::vector<uint8_t>;

size_t Seconds(double s) { return 2 * static_cast<size_t>(s * 22050); }
std::string DataFile(const char* name) { return std::string(TESSALINE_DATA_DIR) + "/" + name; }
int Distance(uint8_t sample) { return std::abs(sample - 128); }

int Peak(const Bytes& out, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i < std::min(to, out.size()); ++i) peak = std::max(peak, Distance(out[i]));
    return peak;
}

// The output from the music's first sound on (whole frames).
Bytes FromFirstSound(const Bytes& out) {
    const auto first = std::find_if(out.begin(), out.end(), [](uint8_t b) { return b != 128; });
    return Bytes(out.begin() + (first - out.begin()) / 2 * 2, out.end());
}

enum Effect { Hit, Attack, Sousatu, Jump, KnockOut };

// The five effects loaded as the game loads them, in its order.
std::vector<SoundBuffer*> LoadEffects() {
    std::vector<SoundBuffer*> effects;
    for (const char* name : {"Hit.wav", "Attack.wav", "Sousatu.wav", "Jump.wav", "KO.wav"}) {
        WaveData wave{};
        if (!Read_WaveFile(DataFile(name).c_str(), wave)) return {};
        effects.push_back(CreateSoundBuffer(name, wave.format, wave.data, wave.size));
        FreeWaveData(wave);
    }
    return effects;
}

void Release(std::vector<SoundBuffer*>& effects) {
    for (SoundBuffer* e : effects) ReleaseSoundBuffer(e);
    effects.clear();
}

// The offset in the output of its first sound, once the file holds it.
size_t FirstSoundWritten(const AudioCapture& capture) {
    for (;;) {
        std::ifstream in(capture.Folder() / "out.raw", std::ios::binary);
        const Bytes out((std::istreambuf_iterator<char>(in)), {});
        const auto first = std::find_if(out.begin(), out.end(), [](uint8_t b) { return b != 128; });
        if (first != out.end()) return static_cast<size_t>(first - out.begin()) / 2 * 2;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The music opened and started; where in the output it began to play. The
// piece loads beside the caller and starts once it is loaded, by which time
// a fast mixer has written seconds of silence: its start is read from the
// output itself, since the mixer runs on while this thread looks.
size_t StartMusic(const AudioCapture& capture, uint32_t& id) {
    id = OpenMusic(DataFile("sound.mid").c_str());
    PlayMusic(id, nullptr);
    return id != 0 ? FirstSoundWritten(capture) : capture.Written();
}

// Waits until every effect has ended and the file holds its last sample
// (the file trails the mixer by its buffer, far less than half a second).
void WaitForEffectsToEnd(const AudioCapture& capture) {
    while (Mix_Playing(-1) > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    capture.WaitForBytes(capture.Written() + Seconds(0.5));
}

// The whole piece alone, as fast as the mixer can make it.
Bytes MusicAlone() {
    Bytes midi;
    if (!ReadDataFile(DataFile("sound.mid").c_str(), midi)) return {};
    const double length = static_cast<double>(sdl::MidiFileMicroseconds(midi.data(), midi.size())) / 1e6;
    AudioCapture::Pace(0);
    AudioCapture capture;
    uint32_t id = 0;
    if (length <= 0 || !capture.Open()) return {};
    capture.WaitForBytes(StartMusic(capture, id) + Seconds(length + 0.5));
    CloseMusic(id);
    return FromFirstSound(capture.FinishRaw());
}

}  // namespace

// Wherever the peaks of the music and of the loudest effects fall against
// each other, their sum stays under full scale: the final blow's hit and
// the knock-out, which the game plays together, with a clash on top.
TEST(SdlMix, TheMusicAndTheLoudestEffectsLeaveHeadroomWhereverTheirPeaksFall) {
    const Bytes music = MusicAlone();
    ASSERT_GT(music.size(), Seconds(50));
    const int musicPeak = Peak(music, 0, music.size());

    AudioCapture::Pace(0);
    AudioCapture capture;
    ASSERT_TRUE(capture.Open());
    std::vector<SoundBuffer*> effects = LoadEffects();
    ASSERT_EQ(effects.size(), 5u);
    // Each group alone, after the one before has ended and is in the file:
    // the mixer runs as fast as it can, so only the mixer can say when.
    const std::vector<std::vector<Effect>> groups = {{Hit, KnockOut}, {Sousatu}, {Attack}, {Jump}};
    std::vector<size_t> starts;
    for (const std::vector<Effect>& group : groups) {
        starts.push_back(capture.Written());
        for (Effect e : group) PlaySoundBuffer(effects[e]);
        WaitForEffectsToEnd(capture);
    }
    starts.push_back(capture.Written());
    Release(effects);
    const Bytes out = capture.FinishRaw();
    std::vector<int> peaks;
    for (size_t g = 0; g < groups.size(); ++g) peaks.push_back(Peak(out, starts[g], starts[g + 1]));

    RecordProperty("peaks", "music " + std::to_string(musicPeak) + ", hit and knock-out " + std::to_string(peaks[0]) +
                                ", clash " + std::to_string(peaks[1]) + ", swing " + std::to_string(peaks[2]) +
                                ", jump " + std::to_string(peaks[3]));
    for (int peak : peaks) EXPECT_GT(peak, 8) << "every effect sounds";
    EXPECT_LE(musicPeak + peaks[0] + peaks[1], 126)
        << "music " << musicPeak << ", hit and knock-out " << peaks[0] << ", clash " << peaks[1];
}

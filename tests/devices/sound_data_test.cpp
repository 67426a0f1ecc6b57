// The game's own sounds as the data maker writes them: five plain 8-bit
// WAV effects that load and are loud, and a well-formed MIDI file for a
// band that plays for long enough and ends where it can start again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "devices/sound.h"
#include "platform/headless.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadData(const char* name) {
    std::ifstream in(std::string(TESSALINE_DATA_DIR) + "/" + name, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), {});
}

}  // namespace

TEST(SoundData, TheFiveEffectsArePlain8BitWavesThatLoadLoudAndEndQuietly) {
    for (const char* name : {"Hit.wav", "Attack.wav", "Sousatu.wav", "Jump.wav", "KO.wav"}) {
        const Bytes file = ReadData(name);
        ASSERT_GT(file.size(), 44u) << name;
        EXPECT_EQ(std::string(file.begin() + 12, file.begin() + 17), std::string("fmt \x10", 5)) << name;
        WaveData wave{};
        ASSERT_TRUE(Read_WaveFile((std::string(TESSALINE_DATA_DIR) + "/" + name).c_str(), wave)) << name;
        const platform::WaveFormat& f = wave.format;
        const uint32_t channels = f.channels;
        EXPECT_TRUE(channels == 1 || channels == 2) << name;
        EXPECT_EQ((std::vector<uint32_t>{f.formatTag, f.samplesPerSec, f.bitsPerSample, f.blockAlign, f.avgBytesPerSec}),
                  (std::vector<uint32_t>{1, 22050, 8, channels, 22050 * channels}))
            << name;
        const double seconds = static_cast<double>(wave.size) / channels / 22050;
        EXPECT_GT(seconds, 0.1) << name;
        EXPECT_LT(seconds, 1.2) << name;
        int peak = 0, tail = 0;  // the loudest deviation overall and in the last 5 ms
        for (uint32_t i = 0; i < wave.size; ++i) {
            const int d = std::abs(wave.data[i] - 128);
            peak = std::max(peak, d);
            if (i + 110 * channels >= wave.size) tail = std::max(tail, d);
        }
        EXPECT_GT(peak, 102) << name << " is loud";
        EXPECT_LT(tail, 7) << name << " ends in silence, without a click";
        FreeWaveData(wave);
    }
    for (const auto& event : platform::headless::Events())
        EXPECT_NE(event.kind, platform::headless::EventKind::MessageBox) << event.text;
}

namespace {

uint32_t Big(const Bytes& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | b.at(at + i);
    return v;
}

uint32_t Variable(const Bytes& b, size_t& at) {
    uint32_t v = 0;
    for (uint8_t c = 0x80; c & 0x80;) v = v << 7 | ((c = b.at(at++)) & 0x7F);
    return v;
}

struct Midi {
    uint32_t format = 0, division = 0, tracks = 0, tempo = 0, tempos = 0;
    std::vector<uint64_t> trackEnds;
    std::map<int, std::vector<int>> keys;  // struck keys by channel
    std::set<int> programmed;              // channels given an instrument
    uint64_t firstNote = UINT64_MAX, lastNote = 0;
    bool balanced = true;                  // every note struck is released
};

// A strict reader: every event has its status, every track ends with its
// end mark exactly at the end of its chunk. Bytes that run out throw.
Midi ParseMidi(const Bytes& b) {
    Midi m;
    EXPECT_EQ(Big(b, 0, 4), 0x4D546864u);
    m.format = Big(b, 8, 2), m.tracks = Big(b, 10, 2), m.division = Big(b, 12, 2);
    size_t at = 14;
    for (uint32_t t = 0; t < m.tracks; ++t) {
        EXPECT_EQ(Big(b, at, 4), 0x4D54726Bu);
        const size_t end = at + 8 + Big(b, at + 4, 4);
        std::map<int, int> held;  // channel * 128 + key
        uint64_t tick = 0;
        for (at += 8; at < end;) {
            tick += Variable(b, at);
            const uint8_t status = b.at(at++), kind = status & 0xF0;
            const int channel = status & 0x0F;
            if (status == 0xFF) {
                const uint8_t type = b.at(at++);
                const uint32_t length = Variable(b, at);
                if (type == 0x51) m.tempo = Big(b, at, 3), ++m.tempos;
                at += length;
                if (type == 0x2F) {
                    EXPECT_EQ(at, end) << "the end mark closes the track";
                    m.trackEnds.push_back(tick);
                }
                continue;
            }
            EXPECT_TRUE(status & 0x80) << "every event has its status";
            const uint8_t key = b.at(at++), velocity = kind == 0xC0 || kind == 0xD0 ? 0 : b.at(at++);
            if (kind == 0xC0) m.programmed.insert(channel);
            if (kind == 0x90 && velocity > 0) {
                m.keys[channel].push_back(key);
                ++held[channel * 128 + key];
                m.firstNote = std::min(m.firstNote, tick), m.lastNote = std::max(m.lastNote, tick);
            } else if (kind == 0x80 || kind == 0x90) {
                m.balanced &= held[channel * 128 + key]-- > 0;
            }
        }
        for (const auto& [note, count] : held) m.balanced &= count == 0;
        at = end;
    }
    EXPECT_EQ(at, b.size());
    return m;
}

}  // namespace

TEST(SoundData, TheMusicIsABandThatPlaysLongEnoughAndLoops) {
    const Midi m = ParseMidi(ReadData("sound.mid"));
    EXPECT_EQ(m.format, 1u);
    ASSERT_GT(m.division, 0u);
    EXPECT_EQ(m.tempos, 1u);
    ASSERT_GE(m.tracks, 5u);
    ASSERT_EQ(m.trackEnds.size(), m.tracks);
    // Every track ends at the same moment: played again, the piece joins,
    // with notes from its first tick to its last beat.
    const uint64_t end = m.trackEnds[0];
    for (uint64_t e : m.trackEnds) EXPECT_EQ(e, end);
    const double seconds = static_cast<double>(end) / m.division * m.tempo / 1e6;
    EXPECT_GE(seconds, 45.0);
    EXPECT_LE(seconds, 120.0);
    EXPECT_EQ(m.firstNote, 0u);
    EXPECT_GE(m.lastNote + m.division, end);
    EXPECT_TRUE(m.balanced) << "a note left sounding or released unstruck";

    // Drums on channel 10 (9 counted from 0), and at least three melodic
    // parts, each with its instrument: the bass lowest, the lead highest.
    ASSERT_TRUE(m.keys.count(9));
    EXPECT_GT(m.keys.at(9).size(), 200u);
    int lowest = 128, highest = -1, melodic = 0;
    for (auto [channel, keys] : m.keys) {
        if (channel == 9) continue;
        ++melodic;
        EXPECT_TRUE(m.programmed.count(channel)) << "channel " << channel + 1 << " has no instrument";
        std::nth_element(keys.begin(), keys.begin() + keys.size() / 2, keys.end());
        lowest = std::min(lowest, keys[keys.size() / 2]);
        highest = std::max(highest, keys[keys.size() / 2]);
    }
    EXPECT_GE(melodic, 3);
    EXPECT_LT(lowest, 52) << "a bass line";
    EXPECT_GT(highest, 70) << "a lead above the band";
}

TEST(SoundData, AScoreWithABarOfTheWrongLengthIsRefusedByLine) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessaline-score-test";
    std::filesystem::create_directories(folder / "assets" / "music");
    std::ofstream(folder / "assets" / "music" / "battle.score")
        << "tempo 120\npart lead channel 1 program 82\nsection a\n  lead | c4/4 d4 e4 f4 | g4/2 a4/4 |\nend\nplay a\n";
    const std::string command = std::string(TESSALINE_DATA_TOOL) + " " + (folder / "out").string() + " --assets " +
                                (folder / "assets").string() + " 2>&1";
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    for (int c; (c = std::fgetc(pipe)) != EOF;) output += static_cast<char>(c);
    EXPECT_NE(pclose(pipe), 0);
    EXPECT_NE(output.find("line 4: a bar of 'lead' lasts 1440 ticks, not 1920"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(folder / "out" / "sound.mid"));
    std::filesystem::remove_all(folder);
}

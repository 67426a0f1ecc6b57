// The game's own sounds as the data maker writes them: five plain 8-bit
// WAV effects that load and end quietly, and a well-formed MIDI file for a
// band whose tracks end where the piece can start again. (Their balance in
// the game's mix is heard by the window script sound_mix.sh.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "devices/sound.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadData(const char* name) {
    std::ifstream in(std::string(TESSALINE_DATA_DIR) + "/" + name, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), {});
}

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

}  // namespace

TEST(SoundData, TheFiveEffectsArePlain8BitWavesThatEndQuietly) {
    for (const char* name : {"Hit.wav", "Attack.wav", "Sousatu.wav", "Jump.wav", "KO.wav"}) {
        const Bytes file = ReadData(name);
        ASSERT_GT(file.size(), 44u) << name;
        EXPECT_EQ(std::string(file.begin() + 12, file.begin() + 17), std::string("fmt \x10", 5)) << name;
        WaveData wave{};
        ASSERT_TRUE(Read_WaveFile((std::string(TESSALINE_DATA_DIR) + "/" + name).c_str(), wave)) << name;
        const platform::WaveFormat& f = wave.format;
        const uint32_t channels = f.channels, seconds100 = wave.size * 100 / channels / 22050;
        EXPECT_EQ((std::vector<uint32_t>{f.formatTag, f.samplesPerSec, f.bitsPerSample, f.blockAlign, f.avgBytesPerSec}),
                  (std::vector<uint32_t>{1, 22050, 8, channels, 22050 * channels}))
            << name;
        EXPECT_TRUE(channels == 1 || channels == 2) << name;
        EXPECT_TRUE(seconds100 >= 10 && seconds100 < 120) << name << " lasts " << seconds100 << " hundredths";
        int tail = 0;  // the loudest deviation in the last 5 ms
        for (uint32_t i = wave.size - std::min<uint32_t>(wave.size, 110 * channels); i < wave.size; ++i)
            tail = std::max(tail, std::abs(wave.data[i] - 128));
        EXPECT_LT(tail, 3) << name << " ends in silence, without a click";
        FreeWaveData(wave);
    }
}

// The instrument of every part as the score names it: channel (1 to 16)
// to General MIDI program (1 to 128), 0 for a part without one (the drums).
static std::map<int, int> ScoreInstruments() {
    std::ifstream score(std::string(TESSALINE_ASSETS_DIR) + "/music/battle.score");
    std::map<int, int> instruments;
    for (std::string line; std::getline(score, line);) {
        std::istringstream in(line);
        std::vector<std::string> w;
        for (std::string word; in >> word && word[0] != '#';) w.push_back(word);
        if (w.empty() || w[0] != "part") continue;
        int channel = 1, program = 0;
        for (size_t i = 2; i + 1 < w.size(); i += 2) {
            if (w[i] == "channel") channel = std::stoi(w[i + 1]);
            if (w[i] == "program") program = std::stoi(w[i + 1]);
        }
        instruments[channel] = program;
    }
    return instruments;
}

// A strict reader: every event has its status, every track ends with its
// end mark exactly at the end of its chunk. Bytes that run out throw.
TEST(SoundData, TheMusicIsABandWhoseTracksEndTogetherEachOnItsInstrument) {
    const Bytes b = ReadData("sound.mid");
    ASSERT_EQ(Big(b, 0, 4), 0x4D546864u);
    EXPECT_EQ(Big(b, 8, 2), 1u);
    const uint32_t tracks = Big(b, 10, 2);
    std::vector<uint64_t> ends;
    int tempos = 0;
    std::map<int, int> struck;       // notes struck, by channel from 0
    std::map<int, int> instruments;  // as the score counts: channel from 1, program from 1, 0 none
    size_t at = 14;
    for (uint32_t t = 0; t < tracks; ++t) {
        EXPECT_EQ(Big(b, at, 4), 0x4D54726Bu);
        const size_t end = at + 8 + Big(b, at + 4, 4);
        uint64_t tick = 0;
        for (at += 8; at < end;) {
            tick += Variable(b, at);
            const uint8_t status = b.at(at++), kind = status & 0xF0;
            if (status == 0xFF) {
                const uint8_t type = b.at(at++);
                const uint32_t length = Variable(b, at);
                tempos += type == 0x51;
                at += length;
                if (type == 0x2F) {
                    EXPECT_EQ(at, end) << "the end mark closes the track";
                    ends.push_back(tick);
                }
                continue;
            }
            EXPECT_TRUE(status & 0x80) << "every event has its status";
            const int channel = status & 0x0F;
            // An instrument chosen after the channel's first note is no instrument for it.
            if (kind == 0xC0) instruments[channel + 1] = struck.count(channel) ? -1 : b.at(at) + 1;
            if (kind == 0x90 && b.at(at + 1) > 0) {
                struck[channel]++;
                instruments.emplace(channel + 1, 0);
            }
            at += kind == 0xC0 || kind == 0xD0 ? 1 : 2;
        }
        at = end;
    }
    EXPECT_EQ(at, b.size());
    EXPECT_EQ(tempos, 1);
    // Every track ends at the same moment, so that played again the piece
    // joins (its length is checked by the music player's reader).
    ASSERT_EQ(ends.size(), tracks);
    for (uint64_t e : ends) EXPECT_EQ(e, ends[0]);
    // Every channel plays the instrument its part names in the score (the
    // file counts programs from 0), the drums on channel 10 with none.
    const std::map<int, int> score = ScoreInstruments();
    EXPECT_GE(score.size(), 4u);
    EXPECT_EQ(score.at(10), 0) << "the drums are on channel 10";
    EXPECT_EQ(instruments, score);
    EXPECT_GT(struck[9], 200);
}

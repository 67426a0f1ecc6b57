// The game's own sounds as the data maker writes them: the five effects
// are plain 8-bit WAV files that load, are loud and each sound like what
// it stands for; the music is a well-formed MIDI file for a band that
// plays for long enough and ends where it can start again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "devices/sound.h"
#include "platform/headless.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), {});
}

std::string DataFile(const char* name) { return std::string(TESSALINE_DATA_DIR) + "/" + name; }

struct Effect {
    WaveData wave{};
    std::vector<double> level;  // per frame, the louder channel, 0 .. 1
    std::vector<double> mono;   // per frame, -1 .. 1
    double Seconds() const { return static_cast<double>(level.size()) / 22050.0; }
    // The loudest level in [from, to) seconds.
    double Peak(double from, double to) const {
        double peak = 0;
        for (size_t i = static_cast<size_t>(from * 22050); i < level.size() && i < to * 22050; ++i)
            peak = std::max(peak, level[i]);
        return peak;
    }
    // Crossings a second in [from, to) from below -2% to above +2% and
    // back, the dither passed over: a rough pitch.
    double Crossings(double from, double to) const {
        int count = 0, side = 0;
        const size_t a = static_cast<size_t>(from * 22050), b = std::min(mono.size(), static_cast<size_t>(to * 22050));
        for (size_t i = a; i < b; ++i) {
            const int now = mono[i] > 0.02 ? 1 : mono[i] < -0.02 ? -1 : side;
            count += side != 0 && now != side;
            side = now;
        }
        return count / (to - from);
    }
};

Effect Load(const char* name) {
    Effect e;
    EXPECT_TRUE(Read_WaveFile(DataFile(name).c_str(), e.wave)) << name;
    const int channels = std::max<int>(1, e.wave.format.channels);
    for (uint32_t i = 0; i + channels <= e.wave.size; i += channels) {
        double loudest = 0, sum = 0;
        for (int c = 0; c < channels; ++c) {
            const double v = (e.wave.data[i + c] - 128) / 128.0;
            loudest = std::max(loudest, std::fabs(v));
            sum += v;
        }
        e.level.push_back(loudest);
        e.mono.push_back(sum / channels);
    }
    return e;
}

}  // namespace

TEST(SoundData, TheFiveEffectsArePlain8BitWavesThatLoad) {
    const char* names[] = {"Hit.wav", "Attack.wav", "Sousatu.wav", "Jump.wav", "KO.wav"};
    for (const char* name : names) {
        const Bytes file = ReadBytes(DataFile(name));
        ASSERT_GT(file.size(), 44u) << name;
        EXPECT_EQ(std::string(file.begin() + 12, file.begin() + 16), "fmt ") << name;
        EXPECT_EQ(file[16], 16) << name << ": a 16-byte fmt chunk";
        Effect e = Load(name);
        const platform::WaveFormat& f = e.wave.format;
        EXPECT_EQ(f.formatTag, 1) << name;
        EXPECT_EQ(f.samplesPerSec, 22050u) << name;
        EXPECT_EQ(f.bitsPerSample, 8) << name;
        EXPECT_TRUE(f.channels == 1 || f.channels == 2) << name;
        EXPECT_EQ(f.blockAlign, f.channels) << name;
        EXPECT_EQ(f.avgBytesPerSec, 22050u * f.channels) << name;
        EXPECT_GT(e.Seconds(), 0.1) << name;
        EXPECT_LT(e.Seconds(), 1.2) << name;
        EXPECT_GT(e.Peak(0, 2), 0.8) << name << " is loud";
        EXPECT_LT(e.Peak(e.Seconds() - 0.005, 2), 0.05) << name << " ends in silence, without a click";
        FreeWaveData(e.wave);
    }
    // The real reader said nothing about any of them.
    for (const auto& event : platform::headless::Events())
        EXPECT_NE(event.kind, platform::headless::EventKind::MessageBox) << event.text;
}

TEST(SoundData, EachEffectHasItsOwnCharacter) {
    Effect hit = Load("Hit.wav"), attack = Load("Attack.wav"), clash = Load("Sousatu.wav"), jump = Load("Jump.wav"),
           ko = Load("KO.wav");
    // A hit strikes at once and is soon over; low and heavy.
    EXPECT_GT(hit.Peak(0, 0.02), 0.8);
    EXPECT_LT(hit.Peak(0.2, 1), 0.3);
    EXPECT_LT(hit.Crossings(0.03, 0.15), 1500);
    // A swish swells up as the blade passes, and is noise, high.
    EXPECT_LT(attack.Peak(0, 0.03), 0.5 * attack.Peak(0.05, 0.2));
    EXPECT_GT(attack.Crossings(0, attack.Seconds()), 3000);
    // The clash is bright, in stereo, and rings on.
    EXPECT_EQ(clash.wave.format.channels, 2);
    EXPECT_GT(clash.Crossings(0.05, 0.3), 2000);
    EXPECT_GT(clash.Peak(0.3, 0.4), 0.05);
    // The jump rises.
    EXPECT_GT(jump.Crossings(0.13, 0.18), 1.8 * jump.Crossings(0.01, 0.06));
    // The knock-out is the longest, deep, with a tail still heard late.
    for (const Effect* other : {&hit, &attack, &clash, &jump}) EXPECT_GT(ko.Seconds(), other->Seconds());
    EXPECT_GT(ko.Peak(0.5, 0.7), 0.05);
    EXPECT_GT(ko.Crossings(0.1, 0.3), ko.Crossings(0.6, 0.9)) << "the tail falls";
    for (Effect* e : {&hit, &attack, &clash, &jump, &ko}) FreeWaveData(e->wave);
}

namespace {

struct MidiEvent {
    uint64_t tick;
    uint8_t status;
    uint8_t a, b;
};

struct Midi {
    int format = -1, division = 0;
    std::vector<std::vector<MidiEvent>> tracks;
    std::vector<uint64_t> trackEnds;
    std::vector<uint32_t> tempos;
};

uint32_t Big(const Bytes& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | b.at(at + i);
    return v;
}

uint32_t Variable(const Bytes& b, size_t& at) {
    uint32_t v = 0;
    for (;;) {
        const uint8_t c = b.at(at++);
        v = v << 7 | (c & 0x7F);
        if (!(c & 0x80)) return v;
    }
}

// A strict reader: every track must end with its end mark, exactly at the
// end of its chunk. Throws (std::out_of_range) on bytes that run out.
Midi ParseMidi(const Bytes& b) {
    Midi m;
    if (Big(b, 0, 4) != 0x4D546864u || Big(b, 4, 4) != 6) return m;
    m.format = static_cast<int>(Big(b, 8, 2));
    const uint32_t count = Big(b, 10, 2);
    m.division = static_cast<int>(Big(b, 12, 2));
    size_t at = 14;
    for (uint32_t t = 0; t < count; ++t) {
        EXPECT_EQ(Big(b, at, 4), 0x4D54726Bu);
        const size_t end = at + 8 + Big(b, at + 4, 4);
        at += 8;
        std::vector<MidiEvent> events;
        uint64_t tick = 0;
        bool ended = false;
        while (at < end) {
            tick += Variable(b, at);
            const uint8_t status = b.at(at++);
            EXPECT_TRUE(status & 0x80) << "every event has its status";
            if (status == 0xFF) {
                const uint8_t type = b.at(at++);
                const uint32_t length = Variable(b, at);
                if (type == 0x51) m.tempos.push_back(Big(b, at, 3));
                at += length;
                if (type == 0x2F) {
                    ended = true;
                    EXPECT_EQ(at, end) << "the end mark closes the track";
                    break;
                }
                continue;
            }
            const bool oneByte = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0;
            events.push_back({tick, status, b.at(at), oneByte ? uint8_t{0} : b.at(at + 1)});
            at += oneByte ? 1 : 2;
        }
        EXPECT_TRUE(ended);
        m.tracks.push_back(events);
        m.trackEnds.push_back(tick);
        at = end;
    }
    EXPECT_EQ(at, b.size());
    return m;
}

}  // namespace

TEST(SoundData, TheMusicIsABandThatPlaysLongEnoughAndLoops) {
    const Midi m = ParseMidi(ReadBytes(DataFile("sound.mid")));
    ASSERT_EQ(m.format, 1);
    ASSERT_GT(m.division, 0);
    ASSERT_EQ(m.tempos.size(), 1u);
    ASSERT_GE(m.tracks.size(), 5u);
    // Every track ends at the same moment: played again, the piece joins.
    const uint64_t end = m.trackEnds[0];
    for (uint64_t e : m.trackEnds) EXPECT_EQ(e, end);
    const double seconds = static_cast<double>(end) / m.division * m.tempos[0] / 1e6;
    EXPECT_GE(seconds, 45.0);
    EXPECT_LE(seconds, 120.0);

    std::map<int, std::vector<int>> keysByChannel;
    std::map<int, int> programs;
    bool startsAtOnce = false, playsToTheEnd = false;
    for (const auto& track : m.tracks) {
        std::map<int, int> held;  // channel * 128 + key
        for (const MidiEvent& e : track) {
            const int channel = e.status & 0x0F, kind = e.status & 0xF0;
            if (kind == 0xC0) programs[channel] = e.a;
            if (kind == 0x90 && e.b > 0) {
                keysByChannel[channel].push_back(e.a);
                ++held[channel * 128 + e.a];
                startsAtOnce |= e.tick == 0;
                playsToTheEnd |= e.tick + static_cast<uint64_t>(m.division) >= end;
            }
            if (kind == 0x80 || (kind == 0x90 && e.b == 0)) {
                EXPECT_GT(held[channel * 128 + e.a]--, 0);
            }
        }
        for (const auto& [note, count] : held) EXPECT_EQ(count, 0) << "note " << note << " left sounding";
    }
    EXPECT_TRUE(startsAtOnce);
    EXPECT_TRUE(playsToTheEnd);

    // Drums on channel 10 (9 counted from 0), and at least three melodic
    // parts, each with its instrument: the bass lowest, the lead highest.
    ASSERT_TRUE(keysByChannel.count(9));
    EXPECT_GT(keysByChannel[9].size(), 200u);
    auto median = [](std::vector<int> keys) {
        std::sort(keys.begin(), keys.end());
        return keys[keys.size() / 2];
    };
    int lowest = 128, highest = -1, melodic = 0;
    for (const auto& [channel, keys] : keysByChannel) {
        if (channel == 9) continue;
        ++melodic;
        EXPECT_TRUE(programs.count(channel)) << "channel " << channel + 1 << " has no instrument";
        lowest = std::min(lowest, median(keys));
        highest = std::max(highest, median(keys));
    }
    EXPECT_GE(melodic, 3);
    EXPECT_LT(lowest, 52) << "a bass line";
    EXPECT_GT(highest, 70) << "a lead above the band";
}

TEST(SoundData, AScoreWithABarOfTheWrongLengthIsRefusedByLine) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessaline-score-test";
    std::filesystem::create_directories(folder / "assets" / "music");
    std::ofstream(folder / "assets" / "music" / "battle.score") << "tempo 120\n"
                                                                 << "part lead channel 1 program 82\n"
                                                                 << "section a\n"
                                                                 << "  lead | c4/4 d4 e4 f4 | g4/2 a4/4 |\n"
                                                                 << "end\n"
                                                                 << "play a\n";
    const std::string command = std::string(TESSALINE_DATA_TOOL) + " " + (folder / "out").string() + " --assets " +
                                (folder / "assets").string() + " 2>&1";
    std::string output;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char block[512];
        for (size_t got; (got = std::fread(block, 1, sizeof block, pipe)) > 0;) output.append(block, got);
        EXPECT_NE(pclose(pipe), 0);
    }
    EXPECT_NE(output.find("line 4: a bar of 'lead' lasts 1440 ticks, not 1920"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(folder / "out" / "sound.mid"));
    std::filesystem::remove_all(folder);
}

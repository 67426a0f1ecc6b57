// The written length of a MIDI file, by which the music's end is told.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/sdl/sdl_audio.h"

using platform::sdl::MidiFileMicroseconds;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes File(uint16_t division, const std::vector<Bytes>& tracks) {
    Bytes b = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, static_cast<uint8_t>(tracks.size()),
               static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)};
    for (const Bytes& t : tracks) {
        const uint32_t n = static_cast<uint32_t>(t.size());
        b.insert(b.end(), {'M', 'T', 'r', 'k', static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                           static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
        b.insert(b.end(), t.begin(), t.end());
    }
    return b;
}

uint64_t Length(const Bytes& b) { return MidiFileMicroseconds(b.data(), b.size()); }

}  // namespace

TEST(MidiLength, TheLatestTrackEndThroughEveryTempoTheGamesThemeIncluded) {
    // 96 ticks a quarter. The conductor: 120 a minute, then at tick 192
    // twice as fast. The notes' track (running status) ends at tick 384.
    const Bytes conductor = {0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20, 0x81, 0x40, 0xFF, 0x51, 3, 0x03, 0xD0, 0x90,
                             0, 0xFF, 0x2F, 0};
    const Bytes notes = {0, 0x90, 60, 100, 0x81, 0x40, 60, 0, 0, 0xC0, 5, 0x81, 0x40, 0xFF, 0x2F, 0};
    EXPECT_EQ(Length(File(96, {conductor, notes})), 1000000u + 500000u);
    // Without tempo changes: 120 a minute.
    EXPECT_EQ(Length(File(96, {notes})), 2000000u);
    // Time code division: 25 frames a second, 40 ticks a frame.
    EXPECT_EQ(Length(File(static_cast<uint16_t>((256 - 25) << 8 | 40), {notes})), 384000u);
    // The game's theme: 36 bars of four quarters at 150 a minute.
    std::ifstream in(std::string(TESSALINE_DATA_DIR) + "/sound.mid", std::ios::binary);
    EXPECT_EQ(Length(Bytes((std::istreambuf_iterator<char>(in)), {})), 36u * 4u * 400000u);
}

TEST(MidiLength, BytesItCannotFollowGiveNoLength) {
    const Bytes notes = {0, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0, 0xFF, 0x2F, 0};
    const Bytes whole = File(96, {notes});
    EXPECT_EQ(Length(Bytes(whole.begin(), whole.end() - 3)), 0u);
    // Sizes and counts past the end of the file.
    const struct {
        int at, count;
        uint8_t value;
        const char* what;
    } hostile[] = {{4, 4, 0xFF, "a header longer than any file"},
                   {10, 2, 0xFF, "65535 tracks, one written"},
                   {18, 4, 0x7F, "a track running past the end"}};
    for (const auto& h : hostile) {
        Bytes file = whole;
        std::fill_n(file.begin() + h.at, h.count, h.value);
        EXPECT_EQ(Length(file), 0u) << h.what;
    }
    EXPECT_EQ(Length(File(96, {{0, 60, 100}})), 0u);                        // running status from nothing
    EXPECT_EQ(Length(File(96, {{0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90}})), 0u);  // a five-byte number
    EXPECT_EQ(Length(File(0, {notes})), 0u);
    EXPECT_EQ(Length(Bytes{'R', 'I', 'F', 'F'}), 0u);
    EXPECT_EQ(Length(Bytes{}), 0u);
}

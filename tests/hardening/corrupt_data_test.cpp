// Damaged data: copies of the game's data folder with one kind of file
// missing, empty, cut short, cut to one byte, ten times too long, random, a
// folder in its place, or with hostile sizes and counts in its header. The
// replay tool plays a scripted fight on each copy; the game must not crash,
// report undefined behaviour or hang, must show exactly the message boxes
// its loaders give for that damage (all at start-up, on the first frame),
// and must play every frame of the fight.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>

#include "hardening/replay_run.h"

namespace hardening {
namespace {

constexpr int Frames = 260;  // the fight starts, player 1 closes in and lands a blow

const Box CannotOpen{"ERROR", "ファイルをオープン出来ません"};
const Box WaveUnreadable{"DSound!", "waveファイルの読み込みに失敗しました"};
const Box NotWave{"DSound!", "Wave形式のRIFFファイルではありません"};
const Box NoFormat{"DSound!", "fmtチャンクが見つかりませんでした"};
const Box NotPcm{"Read_WaveFile!", "PCM以外の形式は使用できません"};
const Box NoSamples{"Read_WaveFile!", "dataチャンクが見つかりませんでした"};
const Box NoBuffer{"DSound!", "バッファの作成に失敗"};

using Bytes = std::vector<uint8_t>;
using Damage = std::function<void(const fs::path&)>;

Bytes Read(const fs::path& file) {
    const std::string text = Slurp(file);
    return Bytes(text.begin(), text.end());
}

void Write(const fs::path& file, const Bytes& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Bytes from a fixed seed: the same damage on every run.
Bytes Noise(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random() >> 24);
    return bytes;
}

// What can happen to any file.
const Damage Missing = [](const fs::path& f) { fs::remove(f); };
const Damage Empty = [](const fs::path& f) { Write(f, {}); };
const Damage Halved = [](const fs::path& f) { fs::resize_file(f, fs::file_size(f) / 2); };
const Damage OneByte = [](const fs::path& f) { fs::resize_file(f, 1); };
const Damage Oversized = [](const fs::path& f) {
    Bytes bytes = Read(f);
    const Bytes tail = Noise(bytes.size() * 9, 7);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    Write(f, bytes);
};
const Damage Random = [](const fs::path& f) { Write(f, Noise(fs::file_size(f), 11)); };
const Damage Folder = [](const fs::path& f) {
    fs::remove(f);
    fs::create_directory(f);
};

// A value written over the file's own, little-endian, `size` bytes at
// `offset` from where `anchor` is first found in the file (the start when
// empty).
Damage Field(size_t offset, int size, uint64_t value, const char* anchor = "") {
    return [=](const fs::path& f) {
        Bytes bytes = Read(f);
        const std::string text(bytes.begin(), bytes.end());
        const size_t at = text.find(anchor) + offset;
        ASSERT_LE(at + size, bytes.size()) << anchor;
        for (int b = 0; b < size; ++b) bytes[at + b] = static_cast<uint8_t>(value >> (8 * b));
        Write(f, bytes);
    };
}

// Every entry of the sine table set to one value.
Damage Table(double value) {
    return [=](const fs::path& f) {
        Bytes bytes(4096);
        for (size_t i = 0; i < bytes.size(); i += 8) std::memcpy(&bytes[i], &value, 8);
        Write(f, bytes);
    };
}

struct Case {
    const char* what;
    Damage damage;
    std::vector<Box> boxes;  // shown at start-up, in order
};

// The data folder with `damage` done to each named file at once, played
// through the scripted fight.
void Play(const std::vector<std::string>& files, const std::vector<Case>& cases) {
    const fs::path scratch = fs::temp_directory_path() / ("tessaline-matrix-" + std::to_string(getpid()));
    for (const Case& c : cases) {
        SCOPED_TRACE(files[0] + (files.size() > 1 ? " and the others: " : ": ") + c.what);
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        const fs::path data = scratch / "data";
        fs::copy(TESSALINE_DATA_DIR, data, fs::copy_options::recursive);
        for (const std::string& file : files) c.damage(data / file);
        if (testing::Test::HasFatalFailure()) return;

        const ReplayRun run = RunReplay(
            data, "--frames " + std::to_string(Frames) + " --input " TESSALINE_SOURCE_DIR "/tests/tools/matches/ko.input",
            scratch);
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(Unexpected(run.errors), "");
        ASSERT_EQ(run.frames.size(), static_cast<size_t>(Frames));
        EXPECT_EQ(FrameField(run.frames.back(), "frame"), Frames);
        EXPECT_EQ(BoxesOf(run.frames[0]), c.boxes);
        bool fought = false;
        for (const std::string& line : run.frames) {
            if (&line != &run.frames[0]) {
                EXPECT_EQ(BoxesOf(line), std::vector<Box>{}) << line.substr(0, 20);
            }
            fought = fought || FrameField(line, "scene") == 2;
        }
        EXPECT_TRUE(fought) << "the fight never started";
    }
    fs::remove_all(scratch);
}

// `box` once for each of `files` damaged files.
std::vector<Box> Each(const Box& box, size_t files) { return std::vector<Box>(files, box); }

// The damages whose file is read whatever it holds: only an unopenable one
// is reported, by `box` (none when empty).
std::vector<Case> Opened(const std::vector<Box>& box) {
    return {{"missing", Missing, box}, {"empty", Empty, {}},         {"halved", Halved, {}},
            {"one byte", OneByte, {}}, {"oversized", Oversized, {}}, {"random", Random, {}},
            {"folder", Folder, box}};
}

// The table is read as it is; only a file that cannot be opened is
// reported. Entries that are not numbers, or huge, carry every joint off
// the screen or out of the number range, and the drawing must cope.
TEST(CorruptData, SineTable) {
    std::vector<Case> cases = Opened({CannotOpen});
    cases.push_back({"not numbers", Table(std::numeric_limits<double>::quiet_NaN()), {}});
    cases.push_back({"infinite", Table(std::numeric_limits<double>::infinity()), {}});
    cases.push_back({"huge", Table(-1e300), {}});
    Play({"file/SinTable.file"}, cases);
}

// A motion key: entry count (two bytes), flags (four, at 4), duration (two,
// at 10), then the entries. Every key takes each damage at once, player
// 1's blow, which the scripted fight plays, among them; both fighters' keys
// are read one by one, so a missing key's box comes once for each.
TEST(CorruptData, EveryMotionKey) {
    std::vector<std::string> keys;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TESSALINE_DATA_DIR) / "Motion")) {
        if (entry.path().extension() == ".deg")
            keys.push_back(fs::relative(entry.path(), TESSALINE_DATA_DIR).string());
    }
    ASSERT_EQ(keys.size(), 50u);
    std::vector<Case> cases = Opened(Each(CannotOpen, 2 * keys.size()));
    cases.push_back({"no entries", Field(0, 2, 0), {}});
    cases.push_back({"16 entries", Field(0, 2, 16), {}});
    cases.push_back({"65535 entries", Field(0, 2, 0xFFFF), {}});
    cases.push_back({"all flags", Field(4, 4, 0xFFFFFFFF), {}});
    cases.push_back({"duration 0", Field(10, 2, 0), {}});
    cases.push_back({"duration 65535", Field(10, 2, 0xFFFF), {}});
    cases.push_back({"angles 65535", Field(12, 6, 0xFFFFFFFFFFFF), {}});
    cases.push_back({"root off at -1e300", Field(20, 8, std::bit_cast<uint64_t>(-1e300)), {}});
    Play(keys, cases);
}

// A bitmap that cannot be read leaves its picture out, without a message;
// one of another size is drawn clipped. The title is blended at the
// screen's size, the font is cut into cells by character code and the
// palette is looked up by colour index: each trusts the picture's size in
// its own way. Every bitmap takes each damage at once.
const std::vector<std::string> Bitmaps = {"Image/Font.bmp",  "Image/Battle.bmp",        "Image/States.bmp",
                                          "Image/Title.bmp", "Image/Stage1_BgBack.bmp", "Image/PolygonPal.bmp"};

TEST(CorruptData, Bitmaps) { Play(Bitmaps, Opened({})); }

// Header fields the decoder must bound before it believes them: a picture
// claiming more than any file holds is refused, silently like a missing one.
// (No width, a negative one, no bits a pixel and pictures wider or taller
// than any surface are the platform tests' bitmap refusals.)
TEST(CorruptData, BitmapHeaders) {
    const std::vector<Case> cases = {
        {"file size 0", Field(2, 4, 0), {}},
        {"pixels at 0", Field(10, 4, 0), {}},
        {"pixels past the end", Field(10, 4, 0x7FFFFFFF), {}},
        {"header size 0", Field(14, 4, 0), {}},
        {"header size huge", Field(14, 4, 0xFFFFFFFF), {}},
        {"width 1", Field(18, 4, 1), {}},
        {"height 0", Field(22, 4, 0), {}},
        {"height most negative", Field(22, 4, 0x80000000), {}},
        {"width and height 65535", Field(18, 8, 0x0000FFFF0000FFFF), {}},
        {"no planes", Field(26, 2, 0), {}},
        {"bit depth 1", Field(28, 2, 1), {}},
        {"bit depth 65535", Field(28, 2, 0xFFFF), {}},
        {"run-length compressed", Field(30, 4, 1), {}},
        {"bit fields", Field(30, 4, 3), {}},
        {"unknown compression", Field(30, 4, 0xFFFFFFFF), {}},
        {"palette of 2^32-1", Field(46, 4, 0xFFFFFFFF), {}},
    };
    Play(Bitmaps, cases);
}

// What each damage does to the effects, all five at once: a chunk that runs
// past the end of the file makes it unreadable; the reader then names what
// it could not find.
TEST(CorruptData, Waves) {
    const size_t n = 5;
    Play({"Hit.wav", "Attack.wav", "Sousatu.wav", "Jump.wav", "KO.wav"},
         {{"missing", Missing, Each(WaveUnreadable, n)},
          {"empty", Empty, Each(NotWave, n)},
          {"halved", Halved, Each(WaveUnreadable, n)},
          {"one byte", OneByte, Each(NotWave, n)},
          {"oversized", Oversized, {}},
          {"random", Random, Each(NotWave, n)},
          {"folder", Folder, Each(WaveUnreadable, n)}});
}

// The RIFF, "fmt " and "data" chunks' sizes and the format's fields. The
// mixer takes PCM of 8 or 16 bits at a rate and channel count it can
// convert; any other format is refused as a buffer it cannot make.
TEST(CorruptData, WaveHeaders) {
    const std::vector<Case> cases = {
        {"RIFF size 0", Field(4, 4, 0, "RIFF"), {NotWave}},
        {"RIFF past the end", Field(4, 4, 0xFFFFFFFF, "RIFF"), {WaveUnreadable}},
        {"not WAVE", Field(0, 4, 0x45564157 + 1, "WAVE"), {NotWave}},
        {"no fmt", Field(0, 4, 0x20746d66 + 1, "fmt "), {NoFormat}},
        // The format's own bytes then read as a chunk that runs past the end.
        {"fmt size 0", Field(4, 4, 0, "fmt "), {WaveUnreadable}},
        {"fmt size 40", Field(4, 4, 40, "fmt "), {NotPcm}},
        {"fmt past the end", Field(4, 4, 0xFFFFFFFF, "fmt "), {WaveUnreadable}},
        {"no data", Field(0, 4, 0x61746164 + 1, "data"), {NoSamples}},
        {"data size 0", Field(4, 4, 0, "data"), {}},
        {"data past the end", Field(4, 4, 0xFFFFFFFF, "data"), {WaveUnreadable}},
        {"format tag 3", Field(8, 2, 3, "fmt "), {NoBuffer}},
        {"no channels", Field(10, 2, 0, "fmt "), {NoBuffer}},
        {"65535 channels", Field(10, 2, 0xFFFF, "fmt "), {NoBuffer}},
        {"rate 0", Field(12, 4, 0, "fmt "), {NoBuffer}},
        {"rate 1", Field(12, 4, 1, "fmt "), {NoBuffer}},
        {"rate 2^32-1", Field(12, 4, 0xFFFFFFFF, "fmt "), {NoBuffer}},
        {"block align 0", Field(20, 2, 0, "fmt "), {}},
        {"bits 0", Field(22, 2, 0, "fmt "), {NoBuffer}},
        {"bits 65535", Field(22, 2, 0xFFFF, "fmt "), {NoBuffer}},
        {"16 bits over an odd byte count", Field(22, 2, 16, "fmt "), {}},
    };
    Play({"Hit.wav"}, cases);
}

// The replay tool only opens the music; whatever the file holds, the game
// goes on without a word. (The real game's player reads the file: see the
// window script bad_sound.sh.)
TEST(CorruptData, Music) { Play({"sound.mid"}, Opened({})); }

}  // namespace
}  // namespace hardening

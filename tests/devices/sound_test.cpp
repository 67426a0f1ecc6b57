// The WAV reader's checks and messages on files made here, the sound
// set-up's failures, the loader and the release order, on the headless
// backend.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/shell.h"
#include "devices/sound.h"
#include "platform/headless.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

// A chunk with its pad byte; `claimed` overrides the size in the header.
Bytes Chunk(const char* id, const Bytes& contents, int64_t claimed = -1) {
    Bytes b(id, id + 4);
    Put32(b, claimed < 0 ? static_cast<uint32_t>(contents.size()) : static_cast<uint32_t>(claimed));
    b.insert(b.end(), contents.begin(), contents.end());
    if (contents.size() & 1) b.push_back(0);
    return b;
}

Bytes Riff(const std::vector<Bytes>& chunks, const char* form = "WAVE", int64_t claimed = -1) {
    Bytes contents(form, form + 4);
    for (const Bytes& c : chunks) contents.insert(contents.end(), c.begin(), c.end());
    return Chunk("RIFF", contents, claimed);
}

// The "fmt " chunk's contents: 8-bit mono PCM at 22050 Hz, `length` bytes
// long (16 is the plain layout, 18 adds the extra size, more is refused).
Bytes Fmt(size_t length = 16, uint16_t tag = 1, uint16_t bits = 8) {
    Bytes f;
    Put16(f, tag);
    Put16(f, 1);
    Put32(f, 22050);
    Put32(f, 22050 * bits / 8);
    Put16(f, static_cast<uint16_t>(bits / 8));
    Put16(f, bits);
    while (f.size() < length) f.push_back(static_cast<uint8_t>(f.size() == 16 ? 7 : 0));
    f.resize(length);
    return f;
}

const Bytes Samples = {0x80, 0x90, 0xA0, 0x70, 0x60};

std::string BoxText() {
    std::string all;
    for (const hl::Event& e : hl::Events())
        if (e.kind == hl::EventKind::MessageBox) all += e.caption + "|" + e.text + (e.owned ? "|owned" : "") + "\n";
    return all;
}

class Sound : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("tessaline-wave-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        ASSERT_TRUE(RegisterWindowClass([](Window*, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; }));
        mainWindow = CreateMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ReleaseSound();  // no sound device to begin with
        hl::ClearEvents();
    }
    void TearDown() override {
        ReleaseSound();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string File(const Bytes& bytes) {
        const std::string path = (folder_ / ("f" + std::to_string(count_++) + ".wav")).string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    // Reads the file and returns the message box it showed ("" if none).
    std::string Refusal(const Bytes& bytes) {
        hl::ClearEvents();
        WaveData wave{};
        const bool ok = Read_WaveFile(File(bytes).c_str(), wave);
        FreeWaveData(wave);
        const std::string box = BoxText();
        EXPECT_EQ(ok, box.empty()) << box;
        return box;
    }

    std::filesystem::path folder_;
    int count_ = 0;
};

constexpr const char* ReadFailed = "DSound!|waveファイルの読み込みに失敗しました|owned\n";
constexpr const char* NoData = "Read_WaveFile!|dataチャンクが見つかりませんでした|owned\n";

}  // namespace

TEST_F(Sound, APlainWaveLoadsWithItsFormatAndSamples) {
    WaveData wave{};
    ASSERT_TRUE(Read_WaveFile(File(Riff({Chunk("fmt ", Fmt()), Chunk("data", Samples)})).c_str(), wave));
    EXPECT_EQ(wave.format.formatTag, 1);
    EXPECT_EQ(wave.format.channels, 1);
    EXPECT_EQ(wave.format.samplesPerSec, 22050u);
    EXPECT_EQ(wave.format.avgBytesPerSec, 22050u);
    EXPECT_EQ(wave.format.blockAlign, 1);
    EXPECT_EQ(wave.format.bitsPerSample, 8);
    EXPECT_EQ(wave.format.extraSize, 0);  // the 16-byte chunk does not cover it
    ASSERT_EQ(wave.size, Samples.size());
    EXPECT_EQ(Bytes(wave.data, wave.data + wave.size), Samples);
    FreeWaveData(wave);

    // The 18-byte layout brings its extra size along.
    ASSERT_TRUE(Read_WaveFile(File(Riff({Chunk("fmt ", Fmt(18)), Chunk("data", Samples)})).c_str(), wave));
    EXPECT_EQ(wave.format.extraSize, 7);
    FreeWaveData(wave);
    EXPECT_EQ(BoxText(), "");
}

TEST_F(Sound, OtherChunksAreSkippedPadBytesIncluded) {
    const Bytes odd = {1, 2, 3};
    const Bytes file = Riff({Chunk("LIST", odd), Chunk("fmt ", Fmt()), Chunk("fact", odd), Chunk("data", Samples),
                             Chunk("cue ", odd)});
    // A chunk before the RIFF chunk is passed over as well.
    Bytes led = Chunk("JUNK", odd);
    led.insert(led.end(), file.begin(), file.end());
    for (const Bytes& bytes : {file, led}) {
        WaveData wave{};
        ASSERT_TRUE(Read_WaveFile(File(bytes).c_str(), wave));
        EXPECT_EQ(Bytes(wave.data, wave.data + wave.size), Samples);
        FreeWaveData(wave);
    }
}

TEST_F(Sound, EachMissingOrUnusablePartIsRefusedWithItsMessage) {
    EXPECT_EQ(Refusal(Riff({Chunk("fmt ", Fmt(40)), Chunk("data", Samples)})),
              "Read_WaveFile!|PCM以外の形式は使用できません|owned\n");
    EXPECT_EQ(Refusal(Riff({Chunk("fmt ", Fmt())})), NoData);
    // "data" is looked for after "fmt " only.
    EXPECT_EQ(Refusal(Riff({Chunk("data", Samples), Chunk("fmt ", Fmt())})), NoData);
    EXPECT_EQ(Refusal(Riff({Chunk("data", Samples)})), "DSound!|fmtチャンクが見つかりませんでした|owned\n");
    const std::string notWave = "DSound!|Wave形式のRIFFファイルではありません|owned\n";
    EXPECT_EQ(Refusal(Riff({Chunk("fmt ", Fmt()), Chunk("data", Samples)}, "AVI ")), notWave);
    const std::string text = "This is not a sound at all, only words.";
    EXPECT_EQ(Refusal(Bytes(text.begin(), text.end())), notWave);
    EXPECT_EQ(Refusal(Bytes{}), notWave);
    EXPECT_EQ(Refusal(Bytes{'R', 'I', 'F', 'F', 4, 0}), notWave);

    hl::ClearEvents();
    WaveData wave{};
    EXPECT_FALSE(Read_WaveFile((folder_ / "KO.wav").c_str(), wave));
    EXPECT_EQ(BoxText(), ReadFailed);
}

TEST_F(Sound, AChunkClaimingMoreThanItsParentOrTheFileIsRefused) {
    const Bytes fmt = Chunk("fmt ", Fmt());
    // The samples run past the RIFF chunk, the file ends early, a skipped
    // chunk claims too much, the RIFF chunk claims more than the file.
    EXPECT_EQ(Refusal(Riff({fmt, Chunk("data", Samples, 1000)})), ReadFailed);
    Bytes cut = Riff({fmt, Chunk("data", Samples)});
    cut.resize(cut.size() - 2);
    EXPECT_EQ(Refusal(cut), ReadFailed);
    EXPECT_EQ(Refusal(Riff({Chunk("LIST", {1, 2}, 0xFFFFFFF0u), fmt, Chunk("data", Samples)})), ReadFailed);
    EXPECT_EQ(Refusal(Riff({fmt, Chunk("data", Samples)}, "WAVE", 0xFFFFFFFFu)), ReadFailed);
    // Data inside the RIFF chunk but with the RIFF size cutting it short.
    Bytes inner = Riff({fmt, Chunk("data", Samples)});
    const uint32_t shortRiff = static_cast<uint32_t>(inner.size() - 8 - 3);
    std::memcpy(&inner[4], &shortRiff, 4);
    EXPECT_EQ(Refusal(inner), ReadFailed);
}

TEST_F(Sound, TheSetUpReportsEachFailureWithoutAnOwner) {
    struct Case {
        hl::Step step;
        const char* box;
    };
    const Case cases[] = {
        {hl::Step::CreateSoundDevice, "DSound!|DirectSoundオブジェクトの作成に失敗\n"},
        {hl::Step::SetSoundCooperativeLevel, "DSound!|協調レベルの設定に失敗\n"},
        {hl::Step::CreatePrimarySoundBuffer, "DSound!|プライマリバッファの生成に失敗\n"},
    };
    for (const Case& c : cases) {
        hl::ClearEvents();
        hl::FailStep(c.step);
        EXPECT_FALSE(InitSound(22050, 8, 2));
        EXPECT_EQ(BoxText(), c.box);
        hl::FailStep(c.step, false);
        ReleaseSound();
    }
    hl::ClearEvents();
    EXPECT_TRUE(InitSound(22050, 8, 2));
    EXPECT_TRUE(directSound);
    EXPECT_TRUE(primaryBuffer);
    EXPECT_EQ(BoxText(), "");
}

TEST_F(Sound, LoadSoundMakesABufferOnlyForAFormatTheMixerTakes) {
    const std::string good = File(Riff({Chunk("fmt ", Fmt()), Chunk("data", Samples)}));
    // Without a sound device nothing is loaded and nothing is said.
    EXPECT_EQ(LoadSound(good.c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(BoxText(), "");

    ASSERT_TRUE(InitSound(22050, 8, 2));
    SoundBuffer* buffer = LoadSound(good.c_str(), 0, 0, 0);
    ASSERT_NE(buffer, nullptr);
    PlayEffect(buffer);
    ASSERT_FALSE(hl::Events().empty());
    EXPECT_EQ(hl::Events().back().kind, hl::EventKind::EffectPlayed);
    EXPECT_EQ(hl::Events().back().name, good);
    ReleaseSoundBuffer(buffer);

    const std::string unusable = "DSound!|バッファの作成に失敗\n";
    const Bytes unfit[] = {
        Riff({Chunk("fmt ", Fmt(16, 3, 32)), Chunk("data", Samples)}),  // floating point
        Riff({Chunk("fmt ", Fmt(16, 1, 24)), Chunk("data", Samples)}),  // 24 bits
        Riff({Chunk("fmt ", Fmt(14)), Chunk("data", Samples)}),         // no bits field: 0
    };
    for (const Bytes& bytes : unfit) {
        hl::ClearEvents();
        EXPECT_EQ(LoadSound(File(bytes).c_str(), 0, 0, 0), nullptr);
        EXPECT_EQ(BoxText(), unusable);
    }
    // A refused file says only its own refusal.
    hl::ClearEvents();
    EXPECT_EQ(LoadSound(File(Riff({Chunk("fmt ", Fmt())})).c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(BoxText(), NoData);
    // An effect that failed stays empty and playing it does nothing.
    hl::ClearEvents();
    PlayEffect(nullptr);
    EXPECT_TRUE(hl::Events().empty());
}

TEST_F(Sound, ReleaseGoesEffectsFirstThenThePrimaryBufferThenTheDevice) {
    ASSERT_TRUE(InitSound(22050, 8, 2));
    const std::string names[] = {"Hit.wav", "Attack.wav", "Sousatu.wav", "Jump.wav", "KO.wav"};
    SoundBuffer** slots[] = {&hitSound, &attackSound, &sousatuSound, &jumpSound, &koSound};
    for (int i = 0; i < 5; ++i) {
        std::filesystem::copy_file(File(Riff({Chunk("fmt ", Fmt()), Chunk("data", Samples)})), folder_ / names[i]);
        *slots[i] = LoadSound((folder_ / names[i]).c_str(), 0, 0, 0);
        ASSERT_NE(*slots[i], nullptr);
    }
    jumpSound = (ReleaseSoundBuffer(jumpSound), nullptr);  // one missing is passed over
    hl::ClearEvents();
    ReleaseSound();
    std::vector<std::string> released;
    for (const hl::Event& e : hl::Events())
        if (e.kind == hl::EventKind::Released) released.push_back(e.name);
    const std::string at = "sound buffer " + folder_.string() + "/";
    EXPECT_EQ(released, (std::vector<std::string>{at + "KO.wav", at + "Hit.wav", at + "Attack.wav",
                                                  at + "Sousatu.wav", "primary sound buffer", "sound device"}));
    for (SoundBuffer** slot : slots) EXPECT_EQ(*slot, nullptr);
    EXPECT_FALSE(primaryBuffer);
    EXPECT_FALSE(directSound);
}

// The WAV reader on files made here, well-formed and broken; the sound
// set-up's failures, the loader and the release order on the headless
// backend.
#include <gtest/gtest.h>

#include <unistd.h>

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

void Put(Bytes& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A chunk with its pad byte; `claimed` overrides the size in the header.
Bytes Chunk(const char* id, const Bytes& contents, int64_t claimed = -1) {
    Bytes b(id, id + 4);
    Put(b, static_cast<uint32_t>(claimed < 0 ? static_cast<int64_t>(contents.size()) : claimed), 4);
    b.insert(b.end(), contents.begin(), contents.end());
    if (contents.size() & 1) b.push_back(0);
    return b;
}

Bytes Riff(const std::vector<Bytes>& chunks, const char* form = "WAVE", int64_t claimed = -1) {
    Bytes contents(form, form + 4);
    for (const Bytes& c : chunks) contents.insert(contents.end(), c.begin(), c.end());
    return Chunk("RIFF", contents, claimed);
}

// The "fmt " chunk: mono PCM at 22050 Hz, `length` bytes long (16 is the
// plain layout, 18 adds the extra size 7, more is refused).
Bytes Fmt(size_t length = 16, uint16_t tag = 1, uint16_t bits = 8) {
    Bytes f;
    for (uint32_t v : {uint32_t{tag}, 1u}) Put(f, v, 2);
    for (uint32_t v : {22050u, 22050u * bits / 8}) Put(f, v, 4);
    for (uint32_t v : {bits / 8u, uint32_t{bits}, 7u}) Put(f, v, 2);
    f.resize(length);
    return f;
}

const Bytes Samples = {0x80, 0x90, 0xA0, 0x70, 0x60};
const Bytes Plain = Riff({Chunk("fmt ", Fmt()), Chunk("data", Samples)});

std::string BoxText() {
    std::string all;
    for (const hl::Event& e : hl::Events())
        if (e.kind == hl::EventKind::MessageBox) all += e.caption + "|" + e.text + (e.owned ? "|owned" : "") + "\n";
    return all;
}

class Sound : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_);
        ASSERT_TRUE(RegisterWindowClass([](Window*, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; }));
        ASSERT_NE(mainWindow = CreateMainWindow(), nullptr);
        hl::ClearEvents();
    }
    void TearDown() override { ReleaseSound(), std::filesystem::remove_all(folder_); }

    std::string File(const Bytes& bytes, std::string name = "") {
        const std::string path = (folder_ / (name.empty() ? "f" + std::to_string(count_++) + ".wav" : name)).string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    std::filesystem::path folder_ = std::filesystem::temp_directory_path() / ("tessaline-wave-" + std::to_string(getpid()));
    int count_ = 0;
};

}  // namespace

TEST_F(Sound, AWaveLoadsPastOtherChunksAndPadBytes) {
    const Bytes odd = {1, 2, 3};
    const Bytes file = Riff({Chunk("LIST", odd), Chunk("fmt ", Fmt(18)), Chunk("fact", odd), Chunk("data", Samples),
                             Chunk("cue ", odd)});
    Bytes led = Chunk("JUNK", odd);  // a chunk before the RIFF chunk
    led.insert(led.end(), file.begin(), file.end());
    for (const auto& [bytes, extraSize] : {std::pair{Plain, 0}, {file, 7}, {led, 7}}) {
        WaveData wave{};
        ASSERT_TRUE(Read_WaveFile(File(bytes).c_str(), wave));
        const WaveFormat& f = wave.format;
        EXPECT_EQ((std::vector<uint32_t>{f.formatTag, f.channels, f.samplesPerSec, f.avgBytesPerSec, f.blockAlign,
                                         f.bitsPerSample, f.extraSize}),
                  (std::vector<uint32_t>{1, 1, 22050, 22050, 1, 8, static_cast<uint32_t>(extraSize)}));
        EXPECT_EQ(Bytes(wave.data, wave.data + wave.size), Samples);
        FreeWaveData(wave);
    }
    EXPECT_EQ(BoxText(), "");
}

TEST_F(Sound, AMalformedFileIsRefusedWithItsOneMessage) {
    const Bytes fmt = Chunk("fmt ", Fmt()), data = Chunk("data", Samples);
    const std::string readFailed = "DSound!|waveファイルの読み込みに失敗しました|owned\n";
    const std::string noData = "Read_WaveFile!|dataチャンクが見つかりませんでした|owned\n";
    const std::string notWave = "DSound!|Wave形式のRIFFファイルではありません|owned\n";
    const std::string text = "This is not a sound at all, only words.";
    Bytes cut = Plain;
    cut.resize(cut.size() - 2);
    Bytes shortRiff = Plain;  // the RIFF size ends inside the samples
    shortRiff[4] = static_cast<uint8_t>(shortRiff.size() - 8 - 3);
    const std::pair<Bytes, std::string> cases[] = {
        {Riff({Chunk("fmt ", Fmt(40)), data}), "Read_WaveFile!|PCM以外の形式は使用できません|owned\n"},
        {Riff({fmt}), noData},
        {Riff({data, fmt}), noData},  // "data" is looked for after "fmt " only
        {Riff({data}), "DSound!|fmtチャンクが見つかりませんでした|owned\n"},
        {Riff({fmt, data}, "AVI "), notWave},
        {Bytes(text.begin(), text.end()), notWave},
        {Bytes{}, notWave},
        {Bytes{'R', 'I', 'F', 'F', 4, 0}, notWave},
        {Riff({fmt, Chunk("data", Samples, 1000)}), readFailed},
        {cut, readFailed},
        {Riff({Chunk("LIST", {1, 2}, 0xFFFFFFF0u), fmt, data}), readFailed},
        {Riff({fmt, data}, "WAVE", 0xFFFFFFFFu), readFailed},
        {shortRiff, readFailed},
    };
    for (const auto& [bytes, box] : cases) {
        hl::ClearEvents();
        WaveData wave{};
        EXPECT_FALSE(Read_WaveFile(File(bytes).c_str(), wave)) << box;
        EXPECT_EQ(BoxText(), box);
        FreeWaveData(wave);
    }
    hl::ClearEvents();
    WaveData wave{};
    EXPECT_FALSE(Read_WaveFile((folder_ / "KO.wav").string().c_str(), wave));
    EXPECT_EQ(BoxText(), readFailed);
}

TEST_F(Sound, TheSetUpReportsEachFailureWithoutAnOwner) {
    const std::pair<hl::Step, const char*> cases[] = {
        {hl::Step::CreateSoundDevice, "DSound!|DirectSoundオブジェクトの作成に失敗\n"},
        {hl::Step::SetSoundCooperativeLevel, "DSound!|協調レベルの設定に失敗\n"},
        {hl::Step::CreatePrimarySoundBuffer, "DSound!|プライマリバッファの生成に失敗\n"},
    };
    for (const auto& [step, box] : cases) {
        hl::ClearEvents();
        hl::FailStep(step);
        EXPECT_FALSE(InitSound(22050, 8, 2));
        EXPECT_EQ(BoxText(), box);
        hl::FailStep(step, false);
        ReleaseSound();
    }
}

TEST_F(Sound, LoadSoundMakesABufferOnlyForAFormatTheMixerTakesAndReleaseGoesInOrder) {
    const std::string good = File(Plain, "KO.wav");
    EXPECT_EQ(LoadSound(good.c_str(), 0, 0, 0), nullptr);  // no sound device: nothing, silently
    ASSERT_TRUE(InitSound(22050, 8, 2));
    const std::pair<Bytes, std::string> unfit[] = {
        {Riff({Chunk("fmt ", Fmt(16, 3, 32)), Chunk("data", Samples)}), "DSound!|バッファの作成に失敗\n"},  // float
        {Riff({Chunk("fmt ", Fmt(14)), Chunk("data", Samples)}), "DSound!|バッファの作成に失敗\n"},  // bits 0
        {Riff({Chunk("fmt ", Fmt())}), "Read_WaveFile!|dataチャンクが見つかりませんでした|owned\n"},  // its own refusal only
    };
    for (const auto& [bytes, box] : unfit) {
        EXPECT_EQ(LoadSound(File(bytes).c_str(), 0, 0, 0), nullptr);
        EXPECT_EQ(BoxText(), box);
        hl::ClearEvents();
    }
    PlayEffect(nullptr);  // an effect that failed to load plays nothing
    koSound = LoadSound(good.c_str(), 0, 0, 0);
    hitSound = LoadSound(File(Plain, "Hit.wav").c_str(), 0, 0, 0);
    jumpSound = nullptr;  // a missing one is passed over at the release
    PlayEffect(koSound);
    ASSERT_EQ(hl::Events().size(), 1u);
    EXPECT_EQ(hl::Events()[0].kind, hl::EventKind::EffectPlayed);
    EXPECT_EQ(hl::Events()[0].name, good);
    ReleaseSound();
    std::vector<std::string> released;
    for (const hl::Event& e : hl::Events())
        if (e.kind == hl::EventKind::Released) released.push_back(e.name);
    const auto buffer = [&](const char* name) { return "sound buffer " + (folder_ / name).string(); };
    EXPECT_EQ(released, (std::vector<std::string>{buffer("KO.wav"), buffer("Hit.wav"), "primary sound buffer", "sound device"}));
    EXPECT_FALSE(koSound || hitSound || directSound || primaryBuffer);
}

// What the backends share: opening data files, weighing a bitmap before
// decoding it, and which effect formats can be played.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <cstdlib>

#include "app/shell.h"
#include "figure/math.h"
#include "platform/headless.h"
#include "support/game_harness.h"
#include "support/scratch_files.h"
#include "support/sound_formats.h"

using namespace platform;

namespace {

// A BMP with the 40-byte header, rows bottom first unless `height` is
// negative, `rows` of its data actually present.
FileBytes Bitmap(int32_t width, int32_t height, int bits, int rows, uint32_t compression = 0) {
    const uint32_t rowBytes = (static_cast<uint32_t>(std::abs(width)) * bits + 31) / 32 * 4;
    FileBytes f;
    f.Put('B', 1).Put('M', 1).Put(0, 4).Put(0, 4).Put(54, 4);
    f.Put(40, 4).Put(static_cast<uint32_t>(width), 4).Put(static_cast<uint32_t>(height), 4).Put(1, 2).Put(bits, 2);
    f.Put(compression, 4).Put(0, 4).Put(0, 4).Put(0, 4).Put(0, 4).Put(0, 4);
    for (uint32_t i = 0; i < rowBytes * static_cast<uint32_t>(rows); ++i) f.Put(0x40 + i % 7, 1);
    return f;
}

#ifndef _WIN32
long PeakKilobytes() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return use.ru_maxrss;
}

// Exits 0 when the bitmap is refused and the process's peak memory grew by
// less than 8 MB doing it.
void ExitRefusedCheaply(const char* name) {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    const long before = PeakKilobytes();
    const bool loaded = LoadBitmapFile(name, pixels, width, height);
    std::exit(!loaded && PeakKilobytes() - before < 8 * 1024 ? 0 : 1);
}
#endif

}  // namespace

TEST(DataFiles, OnlyARegularFileIsADataFileAndALoaderSaysItCannotOpenAnythingElse) {
    ScratchFolder folder("tessaline-files");
    FileBytes().Put(7, 4).Write("file\\Plain.file");
    std::filesystem::create_directories("file/SinTable.file");
#ifndef _WIN32
    ASSERT_EQ(mkfifo("Pipe.wav", 0600), 0);
#endif
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadDataFile("file\\Plain.file", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{7, 0, 0, 0}));
    for (const char* name : {"file\\SinTable.file", "Pipe.wav", "Missing.wav"}) {
        EXPECT_EQ(OpenDataFile(name), nullptr) << name;  // the pipe must not wait for a writer either
        EXPECT_FALSE(ReadDataFile(name, bytes)) << name;
    }
    EXPECT_FALSE(LoadSineTable());
    EXPECT_EQ(MessageBoxes(), std::vector<std::string>{"ERROR|ファイルをオープン出来ません"});
}

TEST(Bitmaps, HeadersAreWeighedBeforeDecodingAndFittingPicturesStillLoad) {
    ScratchFolder folder("tessaline-bitmaps");
    // 3 x 2 in 24 bits, each row padded to 12 bytes; and top row first.
    Bitmap(3, 2, 24, 2).Write("Fits.bmp");
    Bitmap(2, -2, 32, 2).Write("TopFirst.bmp");
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    EXPECT_TRUE(LoadBitmapFile("Fits.bmp", pixels, width, height));
    EXPECT_EQ(width * 10 + height, 32);
    EXPECT_EQ(pixels[0], 0x404645u);  // top left: the file's second row (bytes 45 46 40), blue first
    EXPECT_TRUE(LoadBitmapFile("TopFirst.bmp", pixels, width, height));
    EXPECT_EQ(pixels[0], 0x424140u);  // the file's first row
    // 4 x 2 run-length encoded in 8 bits: a palette, then four of colour 1,
    // end of row, four of colour 2, end of picture.
    FileBytes runs = Bitmap(4, 2, 8, 0, 1);
    runs.bytes[10] = 0x36, runs.bytes[11] = 0x04;  // the pixels after the palette
    runs.Put(0, 4).Put(0x123456, 4).Put(0x654321, 4);
    runs.Cut(1078).Put(0x00000104, 4).Put(0x01000204, 4).Write("Runs.bmp");
    EXPECT_TRUE(LoadBitmapFile("Runs.bmp", pixels, width, height));
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x654321, 0x654321, 0x654321, 0x654321, 0x123456, 0x123456, 0x123456,
                                             0x123456}));

    const struct {
        FileBytes file;
        const char* why;
    } refused[] = {
        {Bitmap(4, 16777408, 24, 100), "far more rows than the file holds"},
        {Bitmap(16385, 16385, 8, 0, 1), "a run-length picture wider than any surface"},
        {Bitmap(16384, 16384, 8, 16, 1), "a run-length picture far larger than its runs describe"},
        {Bitmap(16385, 1, 32, 1), "wider than any surface"},
        {Bitmap(4, -16385, 32, 1), "taller than any surface, rows top first"},
        {Bitmap(0, 4, 24, 4), "no width"},
        {Bitmap(-4, 4, 24, 4), "a negative width"},
        {Bitmap(4, 4, 0, 4), "no bits a pixel"},
        {Bitmap(3, 2, 24, 2).Cut(54 + 23), "a byte short"},
        {FileBytes().Put('B', 1).Put('M', 1).Put(0, 20), "cut inside the header"},
    };
    for (const auto& [file, why] : refused) {
        file.Write("Bad.bmp");
        pixels.assign(1, 5);
        EXPECT_FALSE(LoadBitmapFile("Bad.bmp", pixels, width, height)) << why;
        EXPECT_EQ(pixels, std::vector<uint32_t>{5}) << why;
    }
}

#ifndef _WIN32
// A small file that claims a large picture is refused at no more cost than
// reading it: the claimed picture is never made, even for a moment.
TEST(Bitmaps, RefusingALyingHeaderCostsNoMoreMemoryThanTheFile) {
    ScratchFolder folder("tessaline-bitmap-memory");
    Bitmap(6000, 6000, 32, 2).Write("Claims.bmp");  // 144 MB claimed in 48 KB
    EXPECT_EXIT(ExitRefusedCheaply("Claims.bmp"), testing::ExitedWithCode(0), "");
}
#endif

TEST(HeadlessSound, TakesExactlyTheFormatsTheGameTakes) {
    ASSERT_TRUE(CreateSoundDevice());
    const std::vector<uint8_t> samples(400, 128);
    for (const auto& [format, playable] : FormatCases()) {
        SoundBuffer* buffer = CreateSoundBuffer("Case.wav", format, samples.data(), samples.size());
        EXPECT_EQ(buffer != nullptr, playable) << format.channels << " channels, " << format.samplesPerSec << " Hz, "
                                               << format.bitsPerSample << " bits, tag " << format.formatTag;
        ReleaseSoundBuffer(buffer);
    }
}

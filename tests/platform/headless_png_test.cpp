// Frames written as PNG files, read back chunk by chunk: every chunk's CRC,
// the header, and the rows inflated again, byte for byte.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/headless.h"
#include "support/scratch_files.h"

namespace {

uint32_t Big32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

struct ReadBack {
    std::vector<std::string> chunks;  // types in file order
    std::vector<uint8_t> header, data;
    bool crcsHold = true;
};

ReadBack Read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> f((std::istreambuf_iterator<char>(in)), {});
    ReadBack r;
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(f.size() >= 8 && std::equal(signature, signature + 8, f.begin()));
    for (size_t at = 8; at + 12 <= f.size();) {
        const uint32_t size = Big32(&f[at]);
        if (at + 12 + size > f.size()) break;
        const uint8_t* type = &f[at + 4];
        r.chunks.emplace_back(type, type + 4);
        r.crcsHold &= crc32(0, type, 4 + size) == Big32(type + 4 + size);
        auto& to = r.chunks.back() == "IHDR" ? r.header : r.data;
        if (r.chunks.back() != "IEND") to.insert(to.end(), type + 4, type + 4 + size);
        at += 12 + size;
    }
    return r;
}

// Rows as the file should hold them: each the no-filter byte, then R, G, B.
std::vector<uint8_t> Rows(const std::vector<uint32_t>& pixels, int width, int height, int pitch) {
    std::vector<uint8_t> rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * pitch + x];
            rows.insert(rows.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)});
        }
    }
    return rows;
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& data, size_t size) {
    std::vector<uint8_t> out(size + 1);
    uLongf got = out.size();
    EXPECT_EQ(uncompress(out.data(), &got, data.data(), data.size()), Z_OK);
    out.resize(got);
    return out;
}

}  // namespace

TEST(PngFrames, ASmallFrameReadsBackRowByRowPastItsPitch) {
    ScratchFolder folder("tessaline-png");
    // 5 x 3 in rows of 7: the two pixels past each row must not show.
    std::vector<uint32_t> pixels(7 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u * (i % 7 >= 5) + 0x010203u * i;
    ASSERT_TRUE(platform::WritePng("small.png", pixels.data(), 5, 3, 7));
    const ReadBack r = Read("small.png");
    EXPECT_EQ(r.chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_TRUE(r.crcsHold);
    // 5 x 3, 8 bits, RGB, deflate, no filter choice, not interlaced.
    EXPECT_EQ(r.header, (std::vector<uint8_t>{0, 0, 0, 5, 0, 0, 0, 3, 8, 2, 0, 0, 0}));
    EXPECT_EQ(Inflate(r.data, 3 * 16), Rows(pixels, 5, 3, 7));
}

TEST(PngFrames, ALargeNoisyPictureSpansSeveralDataChunks) {
    ScratchFolder folder("tessaline-png-large");
    std::mt19937 random(7);
    std::vector<uint32_t> pixels(700 * 500);
    for (uint32_t& p : pixels) p = random() & 0xFFFFFF;
    ASSERT_TRUE(platform::WritePng("large.png", pixels.data(), 700, 500, 700));
    const ReadBack r = Read("large.png");
    EXPECT_GT(r.chunks.size(), 4u);
    EXPECT_EQ(r.chunks.front(), "IHDR");
    EXPECT_EQ(r.chunks.back(), "IEND");
    EXPECT_TRUE(r.crcsHold);
    EXPECT_EQ(Inflate(r.data, 500 * 2101), Rows(pixels, 700, 500, 700));
    EXPECT_FALSE(platform::WritePng("no-such-folder/x.png", pixels.data(), 700, 500, 700));
}

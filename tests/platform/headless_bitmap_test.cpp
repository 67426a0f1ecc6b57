// The game's own BMP reader on every kind of file a picture might come in:
// each kind gives the colours the pictures have always loaded with, and a
// file it cannot take leaves the caller's picture as it was.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "support/scratch_files.h"

using namespace platform;

namespace {

struct Picture {
    std::vector<uint32_t> pixels{5};
    int width = -1, height = -1;
};

// A BMP file with the header of `infoSize` bytes (12: the old core header),
// the masks after the first 40 bytes of it, the palette, then the pixels.
FileBytes Bmp(uint32_t infoSize, int32_t width, int32_t height, int bits, uint32_t compression, uint32_t colours,
              const std::vector<uint32_t>& masks, const std::vector<uint32_t>& palette,
              const std::vector<uint8_t>& pixels) {
    FileBytes f;
    f.Put('B', 1).Put('M', 1).Put(0, 4).Put(0, 4).Put(0, 4).Put(infoSize, 4);
    if (infoSize == 12) {
        f.Put(static_cast<uint32_t>(width), 2).Put(static_cast<uint32_t>(height), 2).Put(1, 2).Put(bits, 2);
    } else {
        f.Put(static_cast<uint32_t>(width), 4).Put(static_cast<uint32_t>(height), 4).Put(1, 2).Put(bits, 2);
        f.Put(compression, 4).Put(0, 12).Put(colours, 4).Put(0, 4);
    }
    for (uint32_t m : masks) f.Put(m, 4);
    while (f.bytes.size() < 14 + infoSize) f.Put(0, 1);
    for (uint32_t c : palette) f.Put(c, infoSize == 12 ? 3 : 4);
    const size_t at = f.bytes.size();
    for (int b = 0; b < 4; ++b) f.bytes[10 + b] = static_cast<uint8_t>(at >> (8 * b));
    f.bytes.insert(f.bytes.end(), pixels.begin(), pixels.end());
    return f;
}

Picture Load(const FileBytes& file) {
    file.Write("Case.bmp");
    Picture p;
    if (!LoadBitmapFile("Case.bmp", p.pixels, p.width, p.height)) p.width = p.height = -1;
    return p;
}

const std::vector<uint32_t> Four = {0x102030, 0x405060, 0x708090, 0xA0B0C0};

}  // namespace

TEST(BitmapKinds, EachKindGivesItsColoursTopRowFirst) {
    ScratchFolder folder("tessaline-bitmap-kinds");
    const struct {
        const char* kind;
        FileBytes file;
        int width, height;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {"1 bit, core header, palette of triples", Bmp(12, 3, 2, 1, 0, 0, {}, {0x112233, 0xAABBCC}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}),
         3, 2, {0x112233, 0xAABBCC, 0x112233, 0xAABBCC, 0x112233, 0xAABBCC}},
        {"4 bits, no colour count: sixteen", Bmp(40, 3, 1, 4, 0, 0, {}, std::vector<uint32_t>(16, 0x0A0B0C), {0x0F, 0xF0, 0, 0}),
         3, 1, {0x0A0B0C, 0x0A0B0C, 0x0A0B0C}},
        {"8 bits, rows top first", Bmp(40, 1, -2, 8, 0, 4, {}, Four, {3, 0, 0, 0, 1, 0, 0, 0}), 1, 2, {0xA0B0C0, 0x405060}},
        {"8 bits, indices past the palette read black", Bmp(40, 2, 1, 8, 0, 2, {}, Four, {1, 2, 0, 0}),
         2, 1, {0x405060, 0}},
        // 5 bits widen as v * 255 / 31, rounded down: 4 is 0x20, 9 is 0x4A.
        {"16 bits, 5-5-5 by default", Bmp(40, 2, 1, 16, 0, 0, {}, {}, {0x24, 0x11, 0xFF, 0x7F}), 2, 1, {0x204A20, 0xFFFFFF}},
        // 5-6-5's green: 47 is 0xBD and full green 0xFE; blue first, 0xFF.
        {"16 bits, 5-6-5 masks", Bmp(40, 2, 1, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, {}, {0xE0, 0x05, 0xFF, 0xFF}),
         2, 1, {0x00BD00, 0xFFFEFF}},
        {"16 bits, 5-6-5 blue on top", Bmp(40, 2, 1, 16, 3, 0, {0x001F, 0x07E0, 0xF800}, {}, {0xE0, 0x05, 0xFF, 0xFF}),
         2, 1, {0x00BE00, 0xFFFFFF}},
        {"16 bits, no masks given: 5-6-5", Bmp(40, 1, 1, 16, 3, 0, {0, 0, 0}, {}, {0xFF, 0xFF, 0, 0}), 1, 1, {0xFFFEFF}},
        {"24 bits", Bmp(40, 1, 1, 24, 0, 0, {}, {}, {1, 2, 3, 0}), 1, 1, {0x030201}},
        {"32 bits, masks inside a long header", Bmp(124, 1, 1, 32, 3, 0, {0xFF, 0xFF00, 0xFF0000}, {}, {1, 2, 3, 4}),
         1, 1, {0x010203}},
        // Bottom row: one of 1, skip 1 right (left at colour 0), 3 3 1 as
        // literals, padded, the 1 cut at the edge; end of row; top row: nine
        // of 2 cut at the edge; end of picture.
        {"8-bit runs", Bmp(40, 4, 2, 8, 1, 4, {}, Four, {1, 1, 0, 2, 1, 0, 0, 3, 3, 3, 1, 0, 0, 0, 9, 2, 0, 1}),
         4, 2, {0x708090, 0x708090, 0x708090, 0x708090, 0x405060, 0x102030, 0xA0B0C0, 0xA0B0C0}},
        {"4-bit runs", Bmp(40, 5, 1, 4, 2, 4, {}, Four, {2, 0x12, 0, 3, 0x30, 0x10, 0, 1}), 5, 1,
         {0x405060, 0x708090, 0xA0B0C0, 0x102030, 0x405060}},
        {"runs index past the palette: black", Bmp(40, 2, 1, 8, 1, 2, {}, Four, {1, 1, 1, 7, 0, 1}), 2, 1, {0x405060, 0}},
    };
    for (const auto& c : cases) {
        const Picture p = Load(c.file);
        EXPECT_EQ(p.width, c.width) << c.kind;
        EXPECT_EQ(p.height, c.height) << c.kind;
        EXPECT_EQ(p.pixels, c.pixels) << c.kind;
    }
}

TEST(BitmapKinds, FilesItCannotTakeLeaveThePictureAsItWas) {
    ScratchFolder folder("tessaline-bitmap-refused");
    const struct {
        const char* why;
        FileBytes file;
    } cases[] = {
        {"runs with no end-of-picture mark", Bmp(40, 4, 1, 8, 1, 4, {}, Four, {4, 1, 0, 0})},
        {"runs cut inside a literal run", Bmp(40, 4, 1, 8, 1, 4, {}, Four, {0, 4, 1, 2})},
        {"runs cut inside a skip", Bmp(40, 4, 1, 8, 1, 4, {}, Four, {0, 2, 1})},
        {"runs over 24-bit pixels", Bmp(40, 4, 1, 24, 1, 0, {}, {}, {4, 1, 0, 1})},
        {"16 bits as 4-4-4", Bmp(40, 1, 1, 16, 3, 0, {0xF00, 0xF0, 0xF}, {}, {0, 0, 0, 0})},
        {"32 bits as 10-10-10", Bmp(40, 1, 1, 32, 3, 0, {0x3FF00000, 0xFFC00, 0x3FF}, {}, {0, 0, 0, 0})},
        {"32 bits, red on every bit", Bmp(40, 1, 1, 32, 3, 0, {0xFFFFFFFF, 0, 0}, {}, {0, 0, 0, 0})},
        {"3 bits a pixel", Bmp(40, 1, 1, 3, 0, 0, {}, Four, {0, 0, 0, 0})},
        {"runs over no bits at all", Bmp(40, 4, 1, 0, 1, 4, {}, Four, {4, 1, 0, 1})},
        {"runs over 5-bit pixels", Bmp(40, 4, 1, 5, 2, 4, {}, Four, {4, 1, 0, 1})},
    };
    for (const auto& c : cases) {
        const Picture p = Load(c.file);
        EXPECT_EQ(p.width, -1) << c.why;
        EXPECT_EQ(p.pixels, std::vector<uint32_t>{5}) << c.why;
    }
}

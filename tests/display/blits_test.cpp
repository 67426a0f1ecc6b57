// The 2D operations the scenes lay over the figures, on plain surfaces in
// memory, where the frame hashes' scripted runs do not take them: clipping,
// the font cells no scene draws, scales no banner uses and the blend at every
// width. (Bitmaps that cannot be read are the platform tests' bitmap
// refusals and, through the game, the damaged-data tests'.)
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "display/surface.h"

namespace {

// A pixel that tells where it came from: never the colour key, unique for
// every place in a 512 x 256 picture.
uint32_t TagOf(int x, int y) { return static_cast<uint32_t>(y << 9 | x) + 1; }

// A surface whose pixel at (x, y) is tagged with its place, so a copied
// pixel tells where it came from; the memory is the test's own.
struct Canvas {
    std::vector<uint32_t> pixels;
    Surface surface;
    Canvas(int width, int height, uint32_t fill = 0)
        : pixels(static_cast<size_t>(width) * height, fill),
          surface{width, height, width, pixels.data(), 0, MemoryKind::System, false, 0} {}
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * surface.width + x]; }
    void Tag() {
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x) At(x, y) = TagOf(x, y);
    }
    // The box holding every pixel other than `background`, as left, top, right, bottom.
    std::vector<int> Covered(uint32_t background = 0) {
        int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x)
                if (At(x, y) != background) left = std::min(left, x), top = std::min(top, y),
                                            right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
        return {left, top, right, bottom};
    }
};

TEST(Blits, BlitClippedCutsOneEdgePerAxis) {
    Canvas screen(320, 240), source(128, 64);
    source.Tag();
    // Off the left: the source from column 5 lands at x = 0.
    BlitClipped(&screen.surface, -5, 10, 96, 16, &source.surface, 0, 0, BLTFAST_NOCOLORKEY);
    EXPECT_EQ(screen.At(0, 10), TagOf(5, 0));
    EXPECT_EQ(screen.Covered(), (std::vector<int>{0, 10, 91, 26}));
    // Off the right: 20 of 32 columns.
    Canvas right(320, 240);
    BlitClipped(&right.surface, 300, 230, 32, 16, &source.surface, 8, 8, BLTFAST_NOCOLORKEY);
    EXPECT_EQ(right.Covered(), (std::vector<int>{300, 230, 320, 240}));
    EXPECT_EQ(right.At(300, 230), TagOf(8, 8));
    // Past both edges only the far one is cut, so the near one still
    // reaches outside and nothing is copied rather than memory overrun.
    Canvas both(320, 240), wide(400, 16, 0xFFFFFF);
    BlitClipped(&both.surface, -10, 0, 340, 16, &wide.surface, 0, 0, BLTFAST_NOCOLORKEY);
    BlitClipped(&both.surface, 0, 0, 16, 16, &source.surface, 120, 0, BLTFAST_NOCOLORKEY);  // past the source
    BlitClipped(&both.surface, INT_MAX, INT_MIN, INT_MAX, INT_MAX, &source.surface, INT_MIN, 0, BLTFAST_NOCOLORKEY);
    BlitClipped(&both.surface, 0, 0, 16, 16, nullptr, 0, 0, BLTFAST_NOCOLORKEY);
    BlitClipped(nullptr, 0, 0, 16, 16, &source.surface, 0, 0, BLTFAST_NOCOLORKEY);
    EXPECT_EQ(both.Covered()[2], -1);
}

// The key is matched on the colour bytes only; the spare byte goes with a
// copied pixel. Seven pixels: a group of four and three on their own.
TEST(Blits, TheColourKeyLeavesTheDestinationShowing) {
    Canvas screen(320, 240, 0x808080), source(7, 1);
    source.pixels = {0, 0xFF0000, 0xAB000000, 0x00FF00, 0x01000001, 0, 0x0000FF};
    BlitClipped(&screen.surface, 0, 0, 7, 1, &source.surface, 0, 0, BLTFAST_SRCCOLORKEY);
    std::vector<uint32_t> row(screen.pixels.begin(), screen.pixels.begin() + 8);
    EXPECT_EQ(row, (std::vector<uint32_t>{0x808080, 0xFF0000, 0x808080, 0x00FF00, 0x01000001, 0x808080, 0x0000FF,
                                          0x808080}));
    BlitClipped(&screen.surface, 0, 0, 4, 1, &source.surface, 0, 0, BLTFAST_NOCOLORKEY);
    EXPECT_EQ(screen.At(0, 0), 0u);
    EXPECT_EQ(screen.At(2, 0), 0xAB000000u);
}

TEST(Blits, DrawStringTakesEachByteFromItsFontCell) {
    Canvas font(128, 256);
    font.Tag();
    Surface* const saved = fontSurface;
    fontSurface = &font.surface;
    Canvas screen(320, 240);
    DrawString(&screen.surface, 10, 20, "%\n\xFF");
    EXPECT_EQ(screen.At(10, 20), TagOf(40, 32));     // '%' is byte 37
    EXPECT_EQ(screen.At(18, 20), TagOf(80, 0));      // a control code is a cell too
    EXPECT_EQ(screen.At(33, 35), TagOf(127, 255));   // byte 255, its last pixel
    EXPECT_EQ(screen.Covered(), (std::vector<int>{10, 20, 34, 36}));
    fontSurface = saved;
}

// The intro's banners at the scales it uses are pinned by the frame hashes.
TEST(Blits, ScaledPicturesBeyondTheScreenOrAtWildScalesStayOnIt) {
    Canvas banners(256, 192);
    banners.Tag();
    // Too big for the screen: both edges of an axis are cut, the picture
    // stays centred and nearest-neighbour picks every second source pixel.
    Canvas big(320, 240);
    DrawScaledCentred(&big.surface, 160, 120, &banners.surface, 2.0f, 2.0f, 0, 0, 256, 192);
    EXPECT_EQ(big.Covered(), (std::vector<int>{0, 0, 320, 240}));
    EXPECT_EQ(big.At(0, 0), TagOf(48, 36));
    EXPECT_EQ(big.At(3, 5), TagOf(49, 38));
    // Scales no banner uses: nothing drawn, nothing overrun.
    Canvas wild(320, 240);
    for (float scale : {0.0f, -1.0f, 1e30f, NAN, INFINITY})
        DrawScaledCentred(&wild.surface, 160, 120, &banners.surface, scale, scale, 0, 0, 85, 25);
    DrawScaled(&wild.surface, 0, 0, &banners.surface, 1.0f, 1.0f, 200, 0, 300, 10);  // past the source
    EXPECT_EQ(wild.Covered()[2], -1);
}

// A region beyond either surface is kept to what both hold.
TEST(Blits, BlendKeepsToWhatBothSurfacesHold) {
    Canvas odd(8, 2, 0x000000), white(8, 2, 0xFFFFFF);
    BlendSurface(&odd.surface, 0, 0, 320, 240, &white.surface, -4, -4, 128);
    BlendSurface(&odd.surface, INT_MAX, INT_MIN, INT_MAX, INT_MAX, &white.surface, 0, 0, 128);
    EXPECT_EQ(odd.pixels, std::vector<uint32_t>(16, 0x7F7F7F));
}

// The blend goes four pixels at a time where it can: every pixel of every
// width and offset must still be the byte-by-byte sum with the high byte
// cleared, including the last few of a row, a surface blended onto itself,
// and the extreme weights.
TEST(Blits, BlendMatchesTheSumOfEachByteAtEveryWidthAndOffset) {
    uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    const auto byteSum = [](uint32_t s, uint32_t d, uint32_t w) {
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8)
            out |= (((s >> shift & 0xFF) * w + (d >> shift & 0xFF) * (256 - w)) >> 8) << shift;
        return out;
    };
    for (const uint32_t weight : {0u, 1u, 128u, 254u, 255u}) {
        for (int width = 1; width <= 11; ++width) {
            Canvas dest(16, 3), source(16, 3);
            for (uint32_t& p : dest.pixels) p = next();
            for (uint32_t& p : source.pixels) p = next();
            const std::vector<uint32_t> before = dest.pixels;
            BlendSurface(&dest.surface, 2, 1, width, 2, &source.surface, 0, 0, static_cast<uint8_t>(weight));
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 16; ++x) {
                    const bool inside = y >= 1 && x >= 2 && x < 2 + width;
                    const uint32_t want = inside ? byteSum(source.At(x - 2, y - 1), before[y * 16 + x], weight)
                                                 : before[y * 16 + x];
                    ASSERT_EQ(dest.At(x, y), want) << "weight " << weight << " width " << width << " at " << x;
                }
        }
    }
    // Onto itself one place to the right: each pixel takes the one its left
    // neighbour has just become, as a row has always been blended.
    Canvas self(9, 1);
    for (uint32_t& p : self.pixels) p = next() & 0xFFFFFF;
    std::vector<uint32_t> want = self.pixels;
    for (int x = 1; x < 9; ++x) want[x] = byteSum(want[x - 1], want[x], 100);
    BlendSurface(&self.surface, 1, 0, 8, 1, &self.surface, 0, 0, 100);
    EXPECT_EQ(self.pixels, want);
}

// The scenes' cross-fade in one pass leaves both surfaces as the blend and
// the full-screen copy do one after the other, the spare bytes included;
// missing surfaces are passed over.
TEST(Blits, TheOnePassCrossFadeLeavesWhatBlendThenCopyLeaves) {
    uint32_t seed = 99;
    Canvas kept(320, 240), back(320, 240);
    for (uint32_t& p : kept.pixels) p = seed = seed * 1664525u + 1013904223u;
    for (uint32_t& p : back.pixels) p = seed = seed * 1664525u + 1013904223u;
    Canvas keptTwo = kept, backTwo = back;
    keptTwo.surface.pixels = keptTwo.pixels.data();
    backTwo.surface.pixels = backTwo.pixels.data();
    BlendAndCopyBack(&kept.surface, &back.surface, 37);
    BlendSurface(&keptTwo.surface, 0, 0, 320, 240, &backTwo.surface, 0, 0, 37);
    BlitClipped(&backTwo.surface, 0, 0, 320, 240, &keptTwo.surface, 0, 0, BLTFAST_NOCOLORKEY);
    EXPECT_EQ(kept.pixels, keptTwo.pixels);
    EXPECT_EQ(back.pixels, backTwo.pixels);
    EXPECT_EQ(kept.surface.lockCount, 0);
    BlendAndCopyBack(nullptr, &back.surface, 37);
    BlendAndCopyBack(&kept.surface, nullptr, 37);
}

}  // namespace

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "guarded_frame.h"
#include "figure/math.h"
#include "raster/fill.h"

namespace {

constexpr uint32_t Colour = 0x00A0B0C0;

int Fill(GuardedFrame& frame, ScreenTriangle t) { return FillTriangle(frame.pixels(), frame.Pitch, t, Colour); }

void ExpectRow(GuardedFrame& frame, int y, int first, int last) {
    const RowExtent e = frame.extent(y);
    EXPECT_EQ((std::array<int, 3>{e.first, e.last, e.count}), (std::array<int, 3>{first, last, last - first + 1}))
        << "row " << y;
}

// Row top + r runs from first + r * firstStep to last + r * lastStep, down
// to row bottom; no other row is touched.
void ExpectRows(GuardedFrame& frame, int top, int bottom, int first, int firstStep, int last, int lastStep) {
    int total = 0;
    for (int r = 0; r <= bottom - top; ++r) {
        ExpectRow(frame, top + r, first + r * firstStep, last + r * lastStep);
        total += (last + r * lastStep) - (first + r * firstStep) + 1;
    }
    EXPECT_EQ(frame.writtenCount(), total);
}

TEST(FillTriangle, FlatLineAndSinglePixel) {
    GuardedFrame frame;
    EXPECT_EQ(Fill(frame, {5, 100, 50, 100, 20, 100}), 1);
    ExpectRows(frame, 100, 100, 5, 0, 50, 0);
    frame.clear();
    Fill(frame, {7, 9, 7, 9, 7, 9});
    ExpectRows(frame, 9, 9, 7, 0, 7, 0);
    EXPECT_EQ(frame.at(7, 9), Colour);
}

TEST(FillTriangle, BottomRowsLastColumnAndRejections) {
    GuardedFrame frame;
    const ScreenTriangle rejected[] = {
        {100, 239, 50, 400, 150, 400},  // top on the last row
        {100, -30, 50, -1, 150, -1},    // bottom above the screen
        {-1, 10, -5, 60, -300, 30},     // left of the screen
        {319, 10, 319, 50, 400, 30},    // on and right of the last column
        {319, 10, 319, 50, 319, 30},    // a sliver in column 319 alone
    };
    for (const ScreenTriangle& t : rejected) EXPECT_EQ(Fill(frame, t), 0) << t.x0 << "," << t.y0;
    EXPECT_EQ(frame.writtenCount(), 0);

    Fill(frame, {100, 238, 0, 1000, 200, 1000});
    EXPECT_EQ(frame.extent(238).count, 1);
    EXPECT_GT(frame.extent(239).count, 1);
    EXPECT_TRUE(frame.guardIntact());
    frame.clear();
    Fill(frame, {318, 10, 318, 50, 319, 30});  // one column short of the last is drawn
    EXPECT_GT(frame.writtenCount(), 0);
}

// Corners above the screen: each edge meets row 0 where walking it from its
// own upper corner would have put it.
TEST(FillTriangle, TopClipPlacesEdgesAsIfWalkedFromAbove) {
    const struct {
        ScreenTriangle t;
        int bottom, first, firstStep, last, lastStep;
    } cases[] = {
        {{100, -50, 200, 50, 0, 50}, 50, 50, -1, 150, 1},  // slopes of one pixel per row from row -50
        {{100, -50, 140, -10, 100, 30}, 30, 100, 0, 130, -1},  // middle corner above as well, right
        {{100, -50, 60, -10, 100, 30}, 30, 70, 1, 100, 0},     // and left
    };
    for (const auto& c : cases) {
        GuardedFrame frame;
        Fill(frame, c.t);
        ExpectRows(frame, 0, c.bottom, c.first, c.firstStep, c.last, c.lastStep);
    }
}

TEST(FillSpan, ClipsToTheRowAndWritesTheWordAsGiven) {
    GuardedFrame frame;
    FillSpan(frame.row(0), -10, 5, Colour);
    ExpectRow(frame, 0, 0, 5);
    FillSpan(frame.row(1), 300, 400, 0xFF102030);
    ExpectRow(frame, 1, 300, 319);
    EXPECT_EQ(frame.at(300, 1), 0xFF102030u);
    for (auto [xa, xb] : {std::pair{6, 5}, {-20, -1}, {320, 500}}) {
        FillSpan(frame.row(2), xa, xb, Colour);
        FillGouraudSpan(frame.row(2), xa, xb, 1.0, 1.0, Colour);
    }
    EXPECT_EQ(frame.extent(2).count, 0);
    // Every length from one to nine, where the fill's blocks of four and
    // its last overlapping block meet, covers its pixels and no others.
    for (int n = 1; n <= 9; ++n) {
        FillSpan(frame.row(3 + n), 7, 6 + n, Colour);
        ExpectRow(frame, 3 + n, 7, 6 + n);
    }
    EXPECT_TRUE(frame.guardIntact());
}

// The smooth span writes the outer channels exchanged, each channel keeping
// its low eight bits; a span cut at the left edge starts at ia there and
// never reaches ib.
TEST(FillGouraudSpan, ExchangesChannelsAndStartsAtIaWhenCut) {
    GuardedFrame frame;
    FillGouraudSpan(frame.row(1), 0, 0, 2.0, 2.0, 0xFF4001C0);  // 0xC0 x 2 keeps 0x80
    EXPECT_EQ(frame.at(0, 1), 0x800280u);
    FillGouraudSpan(frame.row(2), 0, 2, std::nan(""), 1.0, 0x808080);
    FillGouraudSpan(frame.row(3), 0, 2, -INFINITY, INFINITY, 0x808080);
    EXPECT_EQ(frame.at(0, 2), 0u);
    EXPECT_EQ(frame.at(0, 3), 0u);  // -infinity saturates, whose low bits are 0

    // Six pixels survive the cut: the step is (6 - 0) / 6 and the channel
    // climbs 0x00, 0x10, ..., 0x50.
    FillGouraudSpan(frame.row(4), -10, 5, 0.0, 6.0, 0x000010);
    ExpectRow(frame, 4, 0, 5);
    for (int x = 0; x <= 5; ++x) EXPECT_EQ(frame.at(x, 4), uint32_t(0x10 * x) << 16) << "x " << x;
}

// Intensities up to a million take the unchecked conversion; past that the
// checked one. Both sides of the line give what the checked conversion
// gives pixel by pixel, wrapping channels and saturating alike.
TEST(FillGouraudSpan, LargeIntensitiesGiveTheCheckedConversionsBytes) {
    for (const double end : {1.0e6, -1.0e6, 1.0e6 + 1.0, 9.0e6, 3.0e9, -1.0e300}) {
        GuardedFrame frame;
        FillGouraudSpan(frame.row(0), 0, LastColumn, end, -end * 0.999, 0xFFFFFF);
        const double step = (-end * 0.999 - end) / ScreenWidth;
        double i = end;
        for (int x = 0; x <= LastColumn; ++x, i += step) {
            const uint32_t c = static_cast<uint32_t>(TruncToInt(255.0 * i)) & 0xFF;
            ASSERT_EQ(frame.at(x, 0), c << 16 | c << 8 | c) << "end " << end << " x " << x;
        }
    }
}

// Corners at the ends of the 32-bit range: no overflow, nothing off the
// screen, and a triangle around the whole screen fills every pixel.
TEST(FillTriangle, ExtremeCoordinatesStayOnTheScreen) {
    const ScreenTriangle cases[] = {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN, 0, INT32_MAX},
                                    {INT32_MIN, 0, INT32_MAX, 1, 0, 2},
                                    {INT32_MIN, 100, INT32_MAX, 100, 0, 100},
                                    {INT32_MAX, INT32_MAX, INT32_MAX - 1, INT32_MIN, -70000, 239},
                                    {-1, INT32_MIN + 1, 320, 70000, 319, 120}};
    const double intensities[3] = {1e300, -INFINITY, std::nan("")};
    GuardedFrame frame;
    for (const ScreenTriangle& t : cases) {
        FillTriangle(frame.pixels(), frame.Pitch, t, Colour);
        FillGouraudTriangle(frame.pixels(), frame.Pitch, intensities, t, Colour);
    }
    EXPECT_TRUE(frame.guardIntact());
    frame.clear();
    Fill(frame, cases[0]);
    EXPECT_EQ(frame.writtenCount(), ScreenWidth * ScreenHeight);
}

}  // namespace

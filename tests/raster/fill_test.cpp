#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "guarded_frame.h"
#include "raster/fill.h"

namespace {

constexpr uint32_t Colour = 0x00A0B0C0;

int Fill(GuardedFrame& frame, ScreenTriangle t) { return FillTriangle(frame.pixels(), frame.Pitch, t, Colour); }

void ExpectRow(GuardedFrame& frame, int y, int first, int last) {
    RowExtent e = frame.extent(y);
    EXPECT_EQ(e.first, first) << "row " << y;
    EXPECT_EQ(e.last, last) << "row " << y;
    EXPECT_EQ(e.count, last - first + 1) << "row " << y;
}

void ExpectRowsOnly(GuardedFrame& frame, int top, int bottom) {
    for (int y = 0; y < ScreenHeight; ++y) {
        bool drawn = frame.extent(y).count > 0;
        EXPECT_EQ(drawn, y >= top && y <= bottom) << "row " << y;
    }
}

TEST(FillTriangle, FlatLineAndSinglePixel) {
    GuardedFrame frame;
    EXPECT_EQ(Fill(frame, {5, 100, 50, 100, 20, 100}), 1);
    ExpectRowsOnly(frame, 100, 100);
    ExpectRow(frame, 100, 5, 50);
    EXPECT_EQ(frame.at(5, 100), Colour);

    frame.clear();
    Fill(frame, {7, 9, 7, 9, 7, 9});
    EXPECT_EQ(frame.writtenCount(), 1);
    EXPECT_EQ(frame.at(7, 9), Colour);
}

TEST(FillTriangle, RowsDoNotDependOnCornerOrder) {
    // Apex at (10, 10), flat bottom from 0 to 20 on row 20: row 10 + k
    // runs from 10 - k to 10 + k, the top row holding the apex alone.
    const std::array<std::array<int32_t, 2>, 3> corners = {{{10, 10}, {20, 20}, {0, 20}}};
    std::array<int, 3> order = {0, 1, 2};
    do {
        GuardedFrame frame;
        const auto& a = corners[order[0]];
        const auto& b = corners[order[1]];
        const auto& c = corners[order[2]];
        Fill(frame, {a[0], a[1], b[0], b[1], c[0], c[1]});
        ExpectRowsOnly(frame, 10, 20);
        for (int k = 0; k <= 10; ++k) ExpectRow(frame, 10 + k, 10 - k, 10 + k);
    } while (std::next_permutation(order.begin(), order.end()));

    // A triangle with three distinct rows gives the same pixels in any order.
    GuardedFrame first, other;
    Fill(first, {17, 3, 201, 88, 60, 150});
    Fill(other, {60, 150, 17, 3, 201, 88});
    for (int y = 0; y < ScreenHeight; ++y) {
        for (int x = 0; x < ScreenWidth; ++x) ASSERT_EQ(first.at(x, y), other.at(x, y)) << x << "," << y;
    }
}

TEST(FillTriangle, BottomRowsAndRejections) {
    GuardedFrame frame;
    EXPECT_EQ(Fill(frame, {100, 239, 50, 400, 150, 400}), 0);  // top on the last row
    EXPECT_EQ(Fill(frame, {100, -30, 50, -1, 150, -1}), 0);    // bottom above the screen
    EXPECT_EQ(Fill(frame, {-1, 10, -5, 60, -300, 30}), 0);     // left of the screen
    EXPECT_EQ(Fill(frame, {319, 10, 319, 50, 400, 30}), 0);    // on and right of the last column
    EXPECT_EQ(Fill(frame, {319, 10, 319, 50, 319, 30}), 0);    // a sliver in column 319 alone
    EXPECT_EQ(frame.writtenCount(), 0);

    Fill(frame, {100, 238, 0, 1000, 200, 1000});
    ExpectRowsOnly(frame, 238, 239);
    ExpectRow(frame, 238, 100, 100);
    EXPECT_TRUE(frame.guardIntact());

    frame.clear();
    Fill(frame, {318, 10, 318, 50, 319, 30});  // one column short of the last is drawn
    EXPECT_GT(frame.writtenCount(), 0);
}

TEST(FillTriangle, TopClipPlacesEdgesAsIfWalkedFromAbove) {
    GuardedFrame frame;
    // Rows -50..50 with slopes of one pixel per row: row r is 100 -+ (r + 50).
    Fill(frame, {100, -50, 200, 50, 0, 50});
    ExpectRowsOnly(frame, 0, 50);
    for (int r = 0; r <= 50; ++r) ExpectRow(frame, r, 50 - r, 150 + r);

    // Middle corner above the screen as well, on either side.
    frame.clear();
    Fill(frame, {100, -50, 140, -10, 100, 30});
    ExpectRowsOnly(frame, 0, 30);
    for (int r = 0; r <= 30; ++r) ExpectRow(frame, r, 100, 130 - r);
    frame.clear();
    Fill(frame, {100, -50, 60, -10, 100, 30});
    ExpectRowsOnly(frame, 0, 30);
    for (int r = 0; r <= 30; ++r) ExpectRow(frame, r, 70 + r, 100);
}

TEST(FillTriangle, EdgesAdvanceByAdditionAndMeetTheMiddleCorner) {
    GuardedFrame frame;
    // The left edge moves 0.1 per row: ten additions fall just short of 1,
    // so row 10 still starts in column 0.
    Fill(frame, {0, 0, 30, 15, 3, 30});
    EXPECT_EQ(frame.extent(9).first, 0);
    EXPECT_EQ(frame.extent(10).first, 0);
    EXPECT_EQ(frame.extent(11).first, 1);

    // Middle and bottom corner in column 1: the right edge, 0.1 per row
    // above the middle, is put exactly on column 1 below it.
    frame.clear();
    Fill(frame, {0, 0, 1, 10, 1, 20});
    EXPECT_EQ(frame.extent(9).last, 0);
    for (int r = 10; r <= 20; ++r) EXPECT_EQ(frame.extent(r).last, 1) << "row " << r;
}

TEST(FillSpan, ClipsToTheRow) {
    GuardedFrame frame;
    FillSpan(frame.row(0), -10, 5, Colour);
    ExpectRow(frame, 0, 0, 5);
    FillSpan(frame.row(1), 300, 400, 0xFF102030);
    ExpectRow(frame, 1, 300, 319);
    EXPECT_EQ(frame.at(300, 1), 0xFF102030u);  // the word is written as given
    FillSpan(frame.row(2), 6, 5, Colour);
    FillSpan(frame.row(2), -20, -1, Colour);
    FillSpan(frame.row(2), 320, 500, Colour);
    FillGouraudSpan(frame.row(2), 6, 5, 1.0, 1.0, Colour);
    FillGouraudSpan(frame.row(2), -20, -1, 1.0, 1.0, Colour);
    FillGouraudSpan(frame.row(2), 320, 500, 1.0, 1.0, Colour);
    EXPECT_EQ(frame.extent(2).count, 0);
    EXPECT_TRUE(frame.guardIntact());
}

TEST(FillGouraudSpan, CutSpanStartsAtIaAndNeverReachesIb) {
    GuardedFrame frame;
    // Six pixels survive the cut, so the step is (6 - 0) / 6 = 1 and the
    // channel 0x10 climbs 0x00, 0x10, ..., 0x50: ib = 6 is never reached.
    FillGouraudSpan(frame.row(0), -10, 5, 0.0, 6.0, 0x000010);
    ExpectRow(frame, 0, 0, 5);
    for (int x = 0; x <= 5; ++x) EXPECT_EQ(frame.at(x, 0), uint32_t(0x10 * x) << 16) << "x " << x;
}

TEST(FillGouraudSpan, OuterChannelsExchangeAndKeepTheirLowBits) {
    GuardedFrame frame;
    FillGouraudSpan(frame.row(0), 0, 0, 1.0, 1.0, 0xFF102030);
    EXPECT_EQ(frame.at(0, 0), 0x302010u);
    FillSpan(frame.row(0), 1, 1, 0x102030);
    EXPECT_EQ(frame.at(1, 0), 0x102030u);

    // 0xC0 x 2 = 0x180 keeps 0x80; 0x40 x 2 = 0x80; 0x01 x 2 = 0x02.
    FillGouraudSpan(frame.row(1), 0, 0, 2.0, 2.0, 0x4001C0);
    EXPECT_EQ(frame.at(0, 1), 0x800280u);
    // Wild intensities still give defined pixels.
    FillGouraudSpan(frame.row(2), 0, 2, std::nan(""), 1.0, 0x808080);
    FillGouraudSpan(frame.row(3), 0, 2, -INFINITY, INFINITY, 0x808080);
    EXPECT_EQ(frame.at(0, 2), 0u);
    EXPECT_EQ(frame.at(0, 3), 0u);  // -infinity saturates, whose low bits are 0
}

TEST(FillGouraudTriangle, IntensitiesFollowTheirCorners) {
    GuardedFrame frame;
    // Corners given bottom first: the top corner (50, 10) keeps its 0.5.
    const double intensities[3] = {1.0, 0.5, 0.0};
    FillGouraudTriangle(frame.pixels(), frame.Pitch, intensities, {50, 60, 50, 10, 80, 60}, 0x0000FF);
    ExpectRow(frame, 10, 50, 50);
    EXPECT_EQ(frame.at(50, 10), 127u << 16);

    // From row -50 at intensity 0 to row 50 at 1: row 0 starts half-way.
    frame.clear();
    const double rising[3] = {0.0, 1.0, 1.0};
    FillGouraudTriangle(frame.pixels(), frame.Pitch, rising, {100, -50, 200, 50, 0, 50}, 0x0000FF);
    ExpectRow(frame, 0, 50, 150);
    EXPECT_EQ(frame.at(50, 0), 127u << 16);

    // Flat line: from the leftmost corner's intensity towards the rightmost's.
    frame.clear();
    const double flat[3] = {0.5, 1.0, 0.0};
    FillGouraudTriangle(frame.pixels(), frame.Pitch, flat, {40, 100, 0, 100, 20, 100}, 0x0000FF);
    ExpectRowsOnly(frame, 100, 100);
    ExpectRow(frame, 100, 0, 40);
    EXPECT_EQ(frame.at(0, 100), 255u << 16);
    EXPECT_EQ(frame.at(40, 100), 130u << 16);  // 1.0 - 40 x 0.5 / 41, short of 0.5
}

// Corners anywhere in the 32-bit range: no overflow, nothing outside the
// screen, and a triangle around the whole screen fills every pixel.
TEST(FillTriangle, ExtremeCoordinatesStayOnTheScreen) {
    const int32_t values[] = {INT32_MIN, INT32_MIN + 1, -70000, -1, 0, 120, 239, 319, 320, 70000, INT32_MAX - 1,
                              INT32_MAX};
    const double wild[] = {0.0, 1.0, 1e300, -1e300, INFINITY, -INFINITY, std::nan("")};
    const int nv = sizeof values / sizeof values[0];
    GuardedFrame frame;
    uint32_t state = 12345;
    auto next = [&state](int n) {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) % uint32_t(n));
    };
    for (int k = 0; k < 3000; ++k) {
        ScreenTriangle t = {values[next(nv)], values[next(nv)], values[next(nv)],
                            values[next(nv)], values[next(nv)], values[next(nv)]};
        const double intensities[3] = {wild[next(7)], wild[next(7)], wild[next(7)]};
        FillTriangle(frame.pixels(), frame.Pitch, t, Colour);
        FillGouraudTriangle(frame.pixels(), frame.Pitch, intensities, t, Colour);
    }
    EXPECT_TRUE(frame.guardIntact());

    frame.clear();
    Fill(frame, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN, 0, INT32_MAX});
    EXPECT_EQ(frame.writtenCount(), ScreenWidth * ScreenHeight);
    EXPECT_TRUE(frame.guardIntact());
}

}  // namespace

// The icon: the duel drawn into a 320 x 240 frame, its middle square cut
// out and scaled by a box filter, so the small sizes keep the blades and
// heads as blends of the big picture's pixels rather than losing them.
#include "replay/icon.h"

#include <cstddef>
#include <cstdio>

#include "platform/platform.h"
#include "replay/pose.h"

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
// The whole height of the frame, centred: the scene is framed for it.
constexpr int Side = Height;
constexpr int Left = (Width - Side) / 2;
constexpr int MaxSize = 1024;

// The block [first, last) of source pixels that result pixel i of n covers.
void Block(int i, int n, int side, int& first, int& last) {
    first = i * side / n;
    last = (i + 1) * side / n;
    if (last <= first) last = first + 1;
}

}  // namespace

std::vector<uint32_t> ScaleSquare(const uint32_t* pixels, int pitch, int left, int top, int side, int size) {
    std::vector<uint32_t> out(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        int y0 = 0, y1 = 0;
        Block(y, size, side, y0, y1);
        for (int x = 0; x < size; ++x) {
            int x0 = 0, x1 = 0;
            Block(x, size, side, x0, x1);
            uint32_t sum[3] = {0, 0, 0};
            for (int sy = y0; sy < y1; ++sy) {
                const uint32_t* row = pixels + static_cast<ptrdiff_t>(top + sy) * pitch + left;
                for (int sx = x0; sx < x1; ++sx) {
                    for (int c = 0; c < 3; ++c) sum[c] += (row[sx] >> (8 * c)) & 0xFF;
                }
            }
            // Rounded to the nearest level.
            const uint32_t count = static_cast<uint32_t>((y1 - y0) * (x1 - x0));
            uint32_t mean = 0;
            for (int c = 0; c < 3; ++c) mean |= ((sum[c] + count / 2) / count) << (8 * c);
            out[static_cast<size_t>(y) * size + x] = mean;
        }
    }
    return out;
}

int RenderIcon(const char* dataDir, int size, const char* path) {
    if (size < 1 || size > MaxSize) {
        std::fprintf(stderr, "tessaline-replay: --icon: the size is 1 to %d\n", MaxSize);
        return 2;
    }
    std::vector<uint32_t> frame;
    if (!DrawDuel(dataDir, frame)) return 2;
    const std::vector<uint32_t> icon = ScaleSquare(frame.data(), Width, Left, 0, Side, size);
    if (!platform::WritePng(path, icon.data(), size, size, size)) {
        std::fprintf(stderr, "tessaline-replay: cannot write %s\n", path);
        return 2;
    }
    return 0;
}

// A 320 x 240 frame inside a larger buffer, with guard rows above and below
// and guard columns either side. Every word starts as the sentinel, so a
// test sees which pixels were written and that nothing landed off the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/fill.h"

struct RowExtent {
    int first = -1, last = -1, count = 0;
};

class GuardedFrame {
public:
    static constexpr uint32_t Sentinel = 0xDEADBEEF;
    static constexpr int GuardRows = 8, GuardColumns = 16;
    static constexpr int32_t Pitch = ScreenWidth + 2 * GuardColumns;

    uint32_t* pixels() { return store.data() + GuardRows * Pitch + GuardColumns; }
    uint32_t* row(int y) { return pixels() + y * Pitch; }
    uint32_t at(int x, int y) { return row(y)[x]; }
    bool written(int x, int y) { return at(x, y) != Sentinel; }
    void clear() { store.assign(store.size(), Sentinel); }

    RowExtent extent(int y) {
        RowExtent e;
        for (int x = 0; x < ScreenWidth; ++x) {
            if (!written(x, y)) continue;
            e.first = e.first < 0 ? x : e.first;
            e.last = x;
            ++e.count;
        }
        return e;
    }
    int writtenCount() {
        int n = 0;
        for (int y = 0; y < ScreenHeight; ++y) n += extent(y).count;
        return n;
    }
    bool guardIntact() const {
        for (int i = 0; i < static_cast<int>(store.size()); ++i) {
            const int y = i / Pitch - GuardRows, x = i % Pitch - GuardColumns;
            const bool inside = y >= 0 && y < ScreenHeight && x >= 0 && x < ScreenWidth;
            if (!inside && store[i] != Sentinel) return false;
        }
        return true;
    }

private:
    std::vector<uint32_t> store = std::vector<uint32_t>((ScreenHeight + 2 * GuardRows) * Pitch, Sentinel);
};

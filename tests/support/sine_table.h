// The game's sine table as the data maker writes it, for tests that turn
// things without loading the data folder.
#pragma once

#include <cmath>
#include <numbers>

#include "figure/math.h"

inline void FillSineTable() {
    for (int i = 0; i < 512; ++i) SinTable[i] = std::sin(2.0 * std::numbers::pi * i / 512.0);
}

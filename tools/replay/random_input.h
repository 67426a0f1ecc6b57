// Random fights for the soak: an input script made from a seed instead of
// read from a file.
#pragma once

#include <cstdint>

#include "replay/input_script.h"

// Both players over `frames` frames: player 1 on the keys, player 2 on the
// gamepad, each holding one action for a run of frames before choosing the
// next, so fighters walk far enough to leave the stage and stay close
// enough to trade blows. The same seed gives the same script everywhere.
InputScript RandomInputScript(uint32_t seed, int frames);

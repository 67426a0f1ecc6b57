// The computer opponent. It reads the fighters' records as a player reads
// the screen and answers with the two input bytes a gamepad would give, so
// every rule, latch and timing a person meets holds for it as well.
#pragma once

#include <cstdint>

#include "devices/input.h"

constexpr int ComputerLevels = 3;
constexpr int DefaultComputerLevel = 2;
constexpr uint32_t DefaultComputerSeed = 20261207;
// The longest reaction delay any level has, in frames.
constexpr int LongestReaction = 16;

// One computer fighter's memory. Level 0: a person plays this fighter.
struct Computer {
    uint8_t level;
    uint8_t polled;     // player 2's polls this frame; it thinks on the first
    uint32_t random;    // a generator of its own, so one seed is one fight
    uint32_t frames;    // frames thought
    InputState plans[LongestReaction];  // what it meant to do, acted on late
    InputState held;    // what it holds this frame
    int16_t reachError; // how far out it misjudges its reach this time
    uint8_t sincePress; // frames since it last pressed the attack, up to 255
};

extern Computer computers[2];

// The computer takes fighter `player` (0 or 1) at a level from 1 to 3.
void SetComputer(int player, int level, uint32_t seed);
// Player 2's poll routine when the computer plays player 2.
void PollComputer();
// One frame's thought for the fighter; what it holds now.
InputState ComputerInput(int player);

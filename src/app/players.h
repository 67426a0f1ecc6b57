// Who plays each fighter, as the options name it: --p1 and --p2, the
// computer's level and its seed.
#pragma once

#include <cstdint>
#include <string>

#include "combat/computer.h"
#include "devices/input.h"

struct Players {
    int player1Level = 0;  // 0: player 1 at the keys; 1 to 3: the computer
    Player2Device player2 = Player2Device::Auto;
    int player2Level = 0;
    uint32_t seed = DefaultComputerSeed;  // the computer's generator starts from it
    bool demo = false;  // --demo: the computer on player 1 and on player 2 unless named, the title starting by itself
};

// "cpu" or "cpu:LEVEL" gives the level (the default level for "cpu"), 0
// for any other text, -1 for a level out of range.
int ComputerLevelOf(const std::string& text);
// --p1: "keys" or "cpu[:LEVEL]". False with a reason.
bool ParsePlayer1(const std::string& text, Players& players, std::string& error);
// --p2: "auto", "pad", "keys" or "cpu[:LEVEL]". False with a reason.
bool ParsePlayer2(const std::string& text, Players& players, std::string& error);
// --seed: a whole number from 0 to 4294967295.
bool ParseSeed(const std::string& text, Players& players, std::string& error);
// Before the game starts: the computers take their fighters, player 2's
// device is the one InitInput will choose, the demo is on or off.
void ApplyPlayers(const Players& players);

// The players' controls: movement, jumps, the two-blow combo and motion
// choice.
#pragma once

#include <cstdint>

#include "combat/fighter.h"

extern int32_t comboCount[2];
extern uint8_t player1Latch;   // the attack latch of player 1
extern uint8_t player2Latch;   // bit 0x2 latches player 2's attack and jump
extern const uint16_t AttackTable[2];

constexpr double MoveStep = 8.0;

void RunControls();
void UpdatePlayer1Controls();
void UpdatePlayer2Controls();
void ChooseAction(Fighter& fighter, int player, bool attackHeld, bool jumpHeld);

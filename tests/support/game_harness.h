// Runs the real game on the headless backend from a test: the data folder
// as the current directory, a routine called on every idle turn (before
// each frame while the window is active), closed after a number of turns.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/headless.h"

// Changes to the built data folder; false if there is none.
bool EnterDataFolder();

// Calls WinMain. perTurn(turn) runs on each idle turn; at turn
// closeAtTurn the window is closed (0: never, the test closes it). The
// game and the backend are put back to their start only between tests,
// so a test runs the game once.
int RunGame(const std::function<void(int turn)>& perTurn, int closeAtTurn);

// The message boxes recorded so far, as "caption|text".
std::vector<std::string> MessageBoxes();
// Names of the recorded events of one kind, in order.
std::vector<std::string> EventNames(platform::headless::EventKind kind);

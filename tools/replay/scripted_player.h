// Scripted players for player 1, to measure the computer against: they
// read where the fighters stand, as a person would, to know which way is
// "in". Each presses Enter on the title to start the fight.
#pragma once

#include <string>
#include <vector>

enum class ScriptedPlayer { None, Idle, WalkSwing, JumpSwing };

// "script:idle", "script:walk-swing" or "script:jump-swing"; false for
// anything else.
bool ParseScriptedPlayer(const std::string& text, ScriptedPlayer& out);
// The key names the player holds in this frame (1-based).
std::vector<std::string> ScriptedKeys(ScriptedPlayer player, int frame);

// One JSON object of the game's state after a frame, for the replay
// tool's --state file (JSON Lines).
#pragma once

#include <string>
#include <vector>

#include "platform/headless.h"

// events: what the headless backend recorded during the frame.
std::string FrameStateJson(int frame, const std::vector<platform::headless::Event>& events);

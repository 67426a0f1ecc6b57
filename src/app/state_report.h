// One JSON object of the game's state after a frame (one line of a JSON
// Lines file): written by the replay tool's --state option and, for the
// tests that drive the real game, by the game when TESSALINE_STATE names a
// file.
#pragma once

#include <string>

#include "platform/frame_notes.h"

std::string FrameStateJson(int frame, const platform::FrameNotes& notes);

// What a backend tells of one frame for the game's state report: the
// effects played, the commands sent to the music and the message boxes
// shown, each in the order they happened.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

struct FrameNotes {
    std::vector<std::string> sounds;  // the effects' file names
    std::vector<std::string> music;   // "open sound.mid", "play", "stop", "close"
    std::vector<std::pair<std::string, std::string>> messages;  // caption, text
};

}  // namespace platform

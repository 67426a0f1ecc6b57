// Where the game's data is read from. The game opens its files by names
// relative to the current folder, so the folder is chosen and entered once,
// before anything is read.
#pragma once

#include <filesystem>
#include <string>

// The places the data may be, in the order they are preferred. A folder
// named by the player (--data, else TESSALINE_DATA) is used as it is; the
// others only if they hold the game's data.
struct DataPlaces {
    std::string named;             // --data's folder, empty when not given
    std::string environment;       // TESSALINE_DATA's value, empty when unset
    std::filesystem::path current;      // the folder the game was started in
    std::filesystem::path besideGame;   // `data` beside the executable; empty when unknown
    std::filesystem::path installed;    // where an installed game keeps it
};

// True when `folder` looks like the game's data: the sine table and the
// folders of pictures and motions.
bool HoldsGameData(const std::filesystem::path& folder);

// Chooses the folder and makes it the current one. Returns the one line to
// tell the player when there is none (no newline), else nothing.
std::string GoToDataFolder(const DataPlaces& places);

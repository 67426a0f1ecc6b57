// The data folder's search: the player's word first, then the places a
// build or an installed game keeps the data.
#include "app/data_folder.h"

#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Enter(const fs::path& folder, const char* namedBy) {
    std::error_code error;
    fs::current_path(folder, error);
    if (!error) return {};
    return "tessaline: cannot enter the data folder " + folder.string() + " (" + namedBy + "): " + error.message();
}

}  // namespace

bool HoldsGameData(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / "file" / "SinTable.file", error) &&
           fs::is_directory(folder / "Image", error) && fs::is_directory(folder / "Motion", error);
}

std::string GoToDataFolder(const DataPlaces& places) {
    if (!places.named.empty()) return Enter(places.named, "--data");
    if (!places.environment.empty()) return Enter(places.environment, "TESSALINE_DATA");
    const struct {
        const fs::path& folder;
        const char* what;
    } searched[] = {
        {places.current, "the current folder"},
        {places.besideGame, "beside the game"},
        {places.installed, "installed"},
    };
    std::string tried;
    for (const auto& place : searched) {
        if (place.folder.empty()) continue;
        if (HoldsGameData(place.folder)) return Enter(place.folder, place.what);
        // In the system's own spelling: on Windows the folder beside the
        // game is made with '/' but shown with '\\'.
        tried += (tried.empty() ? "" : ", ") + fs::path(place.folder).make_preferred().string() + " (" + place.what + ")";
    }
    return "tessaline: no game data found in " + tried + "; name a folder with --data DIR or TESSALINE_DATA";
}

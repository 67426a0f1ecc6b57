// The data folder's search, over scratch folders: the player's folder is
// taken as it is, then the current folder, the one beside the game and the
// installed one, each only if it holds the data; with none, one line names
// every place looked in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/data_folder.h"
#include "support/scratch_files.h"

namespace fs = std::filesystem;

namespace {

// Three places, each made a data folder only when asked.
struct Places {
    ScratchFolder scratch{"tessaline-data-folder"};
    fs::path current = scratch.path / "here", beside = scratch.path / "build" / "data",
             installed = scratch.path / "share" / "games" / "tessaline";
    Places() {
        for (const fs::path& folder : {current, beside, installed}) fs::create_directories(folder);
        fs::current_path(current);
    }
    static void HoldData(const fs::path& folder) {
        fs::create_directories(folder / "file");
        fs::create_directories(folder / "Image");
        fs::create_directories(folder / "Motion");
        std::ofstream(folder / "file" / "SinTable.file") << "table";
    }
    DataPlaces Searched(const std::string& named = "", const std::string& environment = "") const {
        return DataPlaces{named, environment, current, beside, installed};
    }
};

}  // namespace

// Each of the three is needed: a folder with two of them is not the data.
TEST(DataFolder, ADataFolderHasTheSineTableAndThePictureAndMotionFolders) {
    Places places;
    EXPECT_FALSE(HoldsGameData(places.current));
    for (const char* part : {"file/SinTable.file", "Image", "Motion"}) {
        Places::HoldData(places.current);
        EXPECT_TRUE(HoldsGameData(places.current));
        fs::remove_all(places.current / part);
        EXPECT_FALSE(HoldsGameData(places.current)) << part;
    }
}

TEST(DataFolder, TheFirstPlaceHoldingTheDataIsEntered) {
    Places places;
    for (const fs::path& folder : {places.current, places.beside, places.installed}) Places::HoldData(folder);
    EXPECT_EQ(GoToDataFolder(places.Searched()), "");
    EXPECT_EQ(fs::current_path(), places.current);

    fs::remove_all(places.current / "Image");
    EXPECT_EQ(GoToDataFolder(places.Searched()), "");
    EXPECT_EQ(fs::current_path(), places.beside);

    fs::current_path(places.current);
    fs::remove_all(places.beside / "file");
    EXPECT_EQ(GoToDataFolder(places.Searched()), "");
    EXPECT_EQ(fs::current_path(), places.installed);
}

// A named folder is used whatever it holds (the game's own messages then
// tell what is missing); --data comes before TESSALINE_DATA, and an empty
// TESSALINE_DATA names nothing.
TEST(DataFolder, ANamedFolderIsTakenAsItIs) {
    Places places;
    Places::HoldData(places.current);
    const fs::path empty = places.scratch.path / "empty", other = places.scratch.path / "other";
    fs::create_directories(empty);
    fs::create_directories(other);

    EXPECT_EQ(GoToDataFolder(places.Searched(empty.string(), other.string())), "");
    EXPECT_EQ(fs::current_path(), empty);

    EXPECT_EQ(GoToDataFolder(places.Searched("", other.string())), "");
    EXPECT_EQ(fs::current_path(), other);

    fs::current_path(places.current);
    EXPECT_EQ(GoToDataFolder(places.Searched("", "")), "");
    EXPECT_EQ(fs::current_path(), places.current);

    // A relative name is from the folder the game was started in.
    fs::current_path(places.scratch.path);
    EXPECT_EQ(GoToDataFolder(places.Searched("empty")), "");
    EXPECT_EQ(fs::current_path(), empty);
}

TEST(DataFolder, ANamedFolderThatCannotBeEnteredIsOneLine) {
    Places places;
    Places::HoldData(places.current);
    const fs::path missing = places.scratch.path / "missing";
    EXPECT_EQ(GoToDataFolder(places.Searched(missing.string())),
              "tessaline: cannot enter the data folder " + missing.string() + " (--data): No such file or directory");
    const fs::path file = places.scratch.path / "a file";
    std::ofstream(file) << "x";
    // The system's own words for why follow; they differ between systems.
    const std::string line = GoToDataFolder(places.Searched("", file.string()));
    const std::string start = "tessaline: cannot enter the data folder " + file.string() + " (TESSALINE_DATA): ";
    EXPECT_EQ(line.substr(0, start.size()), start);
    EXPECT_GT(line.size(), start.size());
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(fs::current_path(), places.current);
}

TEST(DataFolder, NothingFoundNamesEveryPlaceLookedIn) {
    Places places;
    EXPECT_EQ(GoToDataFolder(places.Searched()),
              "tessaline: no game data found in " + places.current.string() + " (the current folder), " +
                  places.beside.string() + " (beside the game), " + places.installed.string() +
                  " (installed); name a folder with --data DIR or TESSALINE_DATA");
    EXPECT_EQ(fs::current_path(), places.current);
}

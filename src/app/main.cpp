// The game's entry: the command line, then the data folder, then the game.
// With TESSALINE_STATE naming a file, the game writes its state after every
// frame shown, one JSON line each, flushed at once: the tests of the real
// game wait on it for the frame or scene they need.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/data_folder.h"
#include "app/options.h"
#include "app/shell.h"
#include "app/state_report.h"
#include "platform/game_backend.h"

namespace {

std::FILE* stateFile = nullptr;
int framesShown = 0;

void WriteState() {
    ++framesShown;
    const std::string line = FrameStateJson(framesShown, platform::game::TakeFrameNotes()) + "\n";
    std::fputs(line.c_str(), stateFile);
    std::fflush(stateFile);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

DataPlaces Places(const Options& options) {
    std::error_code error;
    const std::string beside = platform::game::ExecutableFolder();
    return DataPlaces{options.dataFolder, Environment("TESSALINE_DATA"), std::filesystem::current_path(error),
                      beside.empty() ? std::filesystem::path() : std::filesystem::path(beside) / "data",
                      TESSALINE_INSTALLED_DATA};
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    const OptionsOutcome outcome = ReadOptions(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), options);
    if (!outcome.play) {
        if (!outcome.out.empty()) platform::game::TellPlayer(outcome.out, false);
        if (!outcome.err.empty()) platform::game::TellPlayer(outcome.err, true);
        return outcome.status;
    }
    // Opened before the data folder is entered: a relative name is the
    // caller's, from where the game was started.
    if (const std::string path = Environment("TESSALINE_STATE"); !path.empty()) {
        stateFile = std::fopen(path.c_str(), "w");
        if (!stateFile) {
            std::fprintf(stderr, "tessaline: cannot write the state report %s\n", path.c_str());
            return 1;
        }
        platform::game::SetFrameHook(WriteState);
    }
    if (const std::string wrong = GoToDataFolder(Places(options)); !wrong.empty()) {
        platform::game::TellPlayer(wrong + "\n", true);
        if (stateFile) std::fclose(stateFile);
        return 1;
    }
    platform::game::SetWindowScale(options.scale);
    ApplyPlayers(options.players);
    if (options.fullScreen) platform::game::StartInFullScreen();
    const int status = WinMain();
    if (stateFile) std::fclose(stateFile);
    return status;
}

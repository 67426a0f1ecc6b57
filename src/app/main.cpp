// The game's entry. With TESSALINE_STATE naming a file, the game writes
// its state after every frame shown, one JSON line each, flushed at once:
// the tests of the real game wait on it for the frame or scene they need.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/shell.h"
#include "app/state_report.h"
#include "platform/sdl.h"

namespace {

std::FILE* stateFile = nullptr;
int framesShown = 0;

void WriteState() {
    ++framesShown;
    const std::string line = FrameStateJson(framesShown, platform::sdl::TakeFrameNotes()) + "\n";
    std::fputs(line.c_str(), stateFile);
    std::fflush(stateFile);
}

}  // namespace

int main() {
    if (const char* path = std::getenv("TESSALINE_STATE"); path && *path) {
        stateFile = std::fopen(path, "w");
        if (!stateFile) {
            std::fprintf(stderr, "tessaline: cannot write the state report %s\n", path);
            return 1;
        }
        platform::sdl::SetFrameHook(WriteState);
    }
    const int status = WinMain();
    if (stateFile) std::fclose(stateFile);
    return status;
}

// A motion key file, played: fighter 1 plays from the key toward an empty
// one, fighter 2 blends from an empty key into it and then plays on, so the
// file's angles, positions, flags and duration reach the joints and the
// drawing.
#include <cstddef>
#include <cstdint>

#include "combat/fighter.h"
#include "combat/playback.h"
#include "figure/motion_file.h"
#include "figure_scene.h"
#include "scratch.h"

namespace {

constexpr const char* KeyName = "Motion\\Slay\\Motion0.deg";
constexpr const char* KeyPath = "Motion/Slay/Motion0.deg";

// Two keys: the loaded one at `at`, an empty one (as a missing file
// leaves it) at the other place.
MotionKey* TwoKeys(const MotionKey& loaded, int at) {
    MotionKey* keys = new MotionKey[2]();
    keys[0].keyCount = keys[1].keyCount = 2;
    keys[at] = loaded;
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    EnterScratchFolder(argc, argv, {"Motion/Slay"});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput(KeyPath, data, size);
    static MotionKey loaded;
    LoadMotionKey(KeyName, loaded, 2);

    RebuildFigures();
    fighter1.motions[Way] = TwoKeys(loaded, 0);
    fighter2.motions[Way] = TwoKeys(loaded, 1);
    fighter2.motions[Slay] = TwoKeys(loaded, 0);
    RequestMotion(fighter2, Slay, Locked);
    PlayFrames(BlendFrames + 3);
    return 0;
}

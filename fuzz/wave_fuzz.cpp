// A WAV file through the effect loader on the headless mixer, which takes
// the format as the real mixer would and records what it made.
#include <cstddef>
#include <cstdint>

#include "devices/sound.h"
#include "platform/headless.h"
#include "scratch.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    EnterScratchFolder(argc, argv);
    InitSound(22050, 16, 2);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput("Hit.wav", data, size);
    platform::SoundBuffer* buffer = LoadSound("Hit.wav", 0, 0, 0);
    PlayEffect(buffer);
    if (buffer != nullptr) platform::ReleaseSoundBuffer(buffer);
    platform::headless::ClearEvents();
    return 0;
}

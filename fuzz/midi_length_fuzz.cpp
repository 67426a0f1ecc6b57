// The SDL backend's MIDI length reader, on the bytes as they are: it is
// handed the whole file in memory.
#include <cstddef>
#include <cstdint>

#include "platform/sdl/sdl_audio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The length is only ever compared with the clock; it must come back,
    // whatever it is.
    volatile uint64_t micros = platform::sdl::MidiFileMicroseconds(data, size);
    (void)micros;
    return 0;
}

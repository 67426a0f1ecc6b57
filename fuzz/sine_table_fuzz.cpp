// The sine table file: any bytes at all, then a few frames of the figures
// turned with whatever table they gave.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "figure/math.h"
#include "figure_scene.h"
#include "scratch.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    EnterScratchFolder(argc, argv, {"file"});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput("file/SinTable.file", data, size);
    // A short file keeps what the table held: start every input from zeros.
    std::memset(SinTable, 0, sizeof SinTable);
    LoadSineTable();
    RebuildFigures();
    PlayFrames(4);
    return 0;
}

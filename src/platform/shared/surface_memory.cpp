#include "platform/shared/surface_memory.h"

#include <cstddef>
#include <new>

#include "platform/platform.h"

namespace platform {

uint32_t* NewSurfaceMemory(LiveSurfaces& live, int width, int height, int& pitch) {
    if (width <= 0 || height <= 0 || width > MaxSurfaceSide || height > MaxSurfaceSide) return nullptr;
    auto* pixels = new (std::nothrow) uint32_t[static_cast<size_t>(width) * static_cast<size_t>(height)]();
    if (!pixels) return nullptr;
    live.insert(pixels);
    pitch = width;
    return pixels;
}

void FreeSurfaceMemory(LiveSurfaces& live, uint32_t* pixels) {
    if (live.erase(pixels) != 0) delete[] pixels;
}

}  // namespace platform

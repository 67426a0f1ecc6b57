// Off-screen surface memory as every presenter keeps it: zeroed 0x00RRGGBB
// pixels, rows end to end, each block counted until it is released, so
// that a presenter can tell how many surfaces outlived it.
#pragma once

#include <cstdint>
#include <set>

namespace platform {

using LiveSurfaces = std::set<uint32_t*>;

// Memory for a width x height surface, its pitch in pixels set; null for a
// side of 0 or past MaxSurfaceSide, or when the machine will not give it.
uint32_t* NewSurfaceMemory(LiveSurfaces& live, int width, int height, int& pitch);
// Frees memory NewSurfaceMemory gave; anything else, null included, is
// passed over.
void FreeSurfaceMemory(LiveSurfaces& live, uint32_t* pixels);

}  // namespace platform

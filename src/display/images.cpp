// The image surfaces: loading the game's bitmaps into surfaces, the empty
// work surface, their release and the lock protocol.
#include <cstring>
#include <vector>

#include "app/shell.h"
#include "display/display.h"

Surface* fontSurface = nullptr;
Surface* battleSurface = nullptr;
Surface* statesSurface = nullptr;
Surface* titleSurface = nullptr;
Surface* stageBackSurface = nullptr;
Surface* workSurface = nullptr;
Surface* polygonPalSurface = nullptr;

namespace {

// A surface of its own memory, keyed on black. Without a presenter (a
// set-up that failed and has already said so) there is nothing to ask and
// no second message; a presenter that refuses the memory is reported.
Surface* NewSurface(platform::Window* window, int width, int height, MemoryKind memory) {
    if (!directDraw) return nullptr;
    int pitch = 0;
    uint32_t* pixels = platform::CreateSurfaceMemory(width, height, pitch);
    if (pixels == nullptr) {
        platform::MessageBox(window, "オフスクリーンの生成に失敗しました", "ERROR");
        return nullptr;
    }
    return new Surface{width, height, pitch, pixels, 0, memory, false, 0};
}

}  // namespace

Surface* LoadBitmapSurface(platform::Window* window, const char* fileName, MemoryKind memory) {
    std::vector<uint32_t> picture;
    int width = 0, height = 0;
    if (!platform::LoadBitmapFile(fileName, picture, width, height)) return nullptr;
    Surface* surface = NewSurface(window, width, height, memory);
    if (surface == nullptr) return nullptr;
    for (int row = 0; row < height; ++row)
        std::memcpy(surface->pixels + static_cast<size_t>(row) * surface->pitch,
                    picture.data() + static_cast<size_t>(row) * width, static_cast<size_t>(width) * 4);
    return surface;
}

Surface* CreateWorkSurface(platform::Window* window, int width, int height, MemoryKind memory) {
    return NewSurface(window, width, height, memory);
}

void ReleaseSurface(Surface* surface) {
    if (surface == nullptr) return;
    if (!surface->attached) platform::ReleaseSurfaceMemory(surface->pixels);
    delete surface;
}

void LoadImages() {
    fontSurface = LoadBitmapSurface(mainWindow, "Image\\Font.bmp", MemoryKind::System);
    battleSurface = LoadBitmapSurface(mainWindow, "Image\\Battle.bmp", MemoryKind::System);
    statesSurface = LoadBitmapSurface(mainWindow, "Image\\States.bmp", MemoryKind::System);
    titleSurface = LoadBitmapSurface(mainWindow, "Image\\Title.bmp", MemoryKind::System);
    stageBackSurface = LoadBitmapSurface(mainWindow, "Image\\Stage1_BgBack.bmp", MemoryKind::Video);
    workSurface = CreateWorkSurface(mainWindow, 320, 240, MemoryKind::System);
    polygonPalSurface = LoadBitmapSurface(mainWindow, "Image\\PolygonPal.bmp", MemoryKind::System);
}

void LockSurface(Surface* surface, SurfaceDesc* desc) {
    *desc = SurfaceDesc{};
    if (surface == nullptr) return;
    ++surface->lockCount;
    desc->surface = surface->pixels;
    desc->pitchBytes = surface->pitch * 4;
}

void UnlockSurface(Surface* surface) {
    if (surface != nullptr && surface->lockCount > 0) --surface->lockCount;
}

void LockFrameTarget() {
    LockSurface(backBuffer, &lockDesc);
    frameBits = lockDesc.surface;
    framePitch = lockDesc.pitchBytes >> 2;
}

void UnlockFrameTarget() { UnlockSurface(backBuffer); }
